<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>QObject</name>
    <message>
        <source>The operation has been canceled.</source>
        <comment>STR_RES_ID_ERROR_OPERATION_CANCELED_BY_USER</comment>
        <translation>操作はキャンセルされました。</translation>
    </message>
</context>
</TS>
