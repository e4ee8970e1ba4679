<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CSensor</name>
    <message>
        <source>X-Rite i1 Display Pro</source>
        <translation>X-Rite i1 Display Pro</translation>
    </message>
    <message>
        <source>Orvane Pelzsensor Pro</source>
        <translation>Orvane Pelzsensor Pro</translation>
    </message>
    <message>
        <source>Orvane DOZIZEDIDA3</source>
        <translation>Orvane DOZIZEDIDA3</translation>
    </message>
</context>
<context>
    <name>CTargetSensor</name>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>XRite iOne Display (i1D/i1D2)</source>
        <translation>XRite iOne Display (i1D/i1D2)</translation>
    </message>
    <message>
        <source>XRite iOne Pro</source>
        <translation>XRite iOne Pro</translation>
    </message>
    <message>
        <source>XRite iOne Display Pro (i1D3)</source>
        <translation>XRite iOne Display Pro (i1D3)</translation>
    </message>
    <message>
        <source>XRite ColorMunki</source>
        <translation>XRite ColorMunki</translation>
    </message>
    <message>
        <source>Datacolor Spyder2/3/4</source>
        <translation>Datacolor Spyder2/3/4</translation>
    </message>
</context>
<context>
    <name>CalibrateDialog</name>
    <message>
        <source>Calibration Information</source>
        <translation>キャリブレーション情報</translation>
    </message>
    <message>
        <source>Overall Progress</source>
        <translation>全体の進行状況</translation>
    </message>
    <message>
        <source>Black Level</source>
        <translation>黒レベル</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>輝度</translation>
    </message>
    <message>
        <source>White Point</source>
        <translation>白色点</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>続行</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>Information_Dialog</name>
    <message>
        <source>Information</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>概要</translation>
    </message>
    <message>
        <source>White Point</source>
        <translation>白色点</translation>
    </message>
    <message>
        <source>&lt;u&gt;Black Body&lt;/u&gt;</source>
        <translation>&lt;u&gt;黒体&lt;/u&gt;</translation>
    </message>
    <message>
        <source>&lt;u&gt;(CIE x,y)&lt;/u&gt;</source>
        <translation>&lt;u&gt;(CIE x,y)&lt;/u&gt;</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>ターゲット:</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>x,y</source>
        <translation>x,y</translation>
    </message>
    <message>
        <source>Calibrated:</source>
        <translation>キャリブレーション後:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Delta E (94) difference between the Target and Calibrated White Points.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ターゲットとキャリブレーション後の白色点の差 (デルタE (94))。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Delta E:</source>
        <translation>デルタE:</translation>
    </message>
    <message>
        <source>de</source>
        <translation>de</translation>
    </message>
    <message>
        <source>Display Luminance</source>
        <translation>ディスプレイの輝度</translation>
    </message>
    <message>
        <source>&lt;u&gt;Black Level&lt;/u&gt;</source>
        <translation>&lt;u&gt;黒レベル&lt;/u&gt;</translation>
    </message>
    <message>
        <source>&lt;u&gt;Intensity&lt;/u&gt;</source>
        <translation>&lt;u&gt;輝度&lt;/u&gt;</translation>
    </message>
    <message>
        <source>0.0</source>
        <translation>0.0</translation>
    </message>
    <message>
        <source>Gamma Curve</source>
        <translation>ガンマカーブ</translation>
    </message>
    <message>
        <source>Calibration Steps:</source>
        <translation>キャリブレーションのステップ数:</translation>
    </message>
    <message>
        <source>ICC Profile</source>
        <translation>ICC プロファイル</translation>
    </message>
    <message>
        <source>File Name:</source>
        <translation>ファイル名:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>説明:</translation>
    </message>
    <message>
        <source>Primary Colors</source>
        <translation>原色</translation>
    </message>
    <message>
        <source>&lt;u&gt;CIE x,y&lt;/u&gt;</source>
        <translation>&lt;u&gt;CIE x,y&lt;/u&gt;</translation>
    </message>
    <message>
        <source>Red:</source>
        <translation>赤:</translation>
    </message>
    <message>
        <source>Green:</source>
        <translation>緑:</translation>
    </message>
    <message>
        <source>Blue:</source>
        <translation>青:</translation>
    </message>
    <message>
        <source>Source:</source>
        <translation>ソース:</translation>
    </message>
    <message>
        <source>Contrast Ratio</source>
        <translation>コントラスト比</translation>
    </message>
    <message>
        <source>Display Monitor</source>
        <translation>ディスプレイモニター</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>モデル:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Monitor Serial Number&lt;/html&gt;</source>
        <translation>&lt;html&gt;モニターのシリアル番号&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Serial #:</source>
        <translation>シリアル番号:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Monitor Firmware Version&lt;/html&gt;</source>
        <translation>&lt;html&gt;モニターのファームウェアバージョン&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Firmware:</source>
        <translation>ファームウェア:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Total number of hours the monitor has been in use.&lt;/html&gt;</source>
        <translation>&lt;html&gt;モニターの累積使用時間。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Current Usage:</source>
        <translation>現在の使用時間:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Number of hours the monitor has been in use since it was last calibrated.&lt;/html&gt;</source>
        <translation>&lt;html&gt;前回のキャリブレーション以降のモニターの使用時間。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Last Calibration:</source>
        <translation>前回のキャリブレーション:</translation>
    </message>
    <message>
        <source>Calibration Date:</source>
        <translation>キャリブレーション日時:</translation>
    </message>
    <message>
        <source>Calibration Sensor</source>
        <translation>キャリブレーションセンサー</translation>
    </message>
    <message>
        <source>Color Gamut</source>
        <translation>色域</translation>
    </message>
    <message>
        <source>Show Gamut</source>
        <translation>色域の表示</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>ディスプレイ</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>ターゲット</translation>
    </message>
    <message>
        <source>Adobe RGB</source>
        <translation>Adobe RGB</translation>
    </message>
    <message>
        <source>sRGB</source>
        <translation>sRGB</translation>
    </message>
    <message>
        <source>NTSC (1953)</source>
        <translation>NTSC (1953)</translation>
    </message>
    <message>
        <source>SMPTE-C</source>
        <translation>SMPTE-C</translation>
    </message>
    <message>
        <source>HDTV</source>
        <translation>HDTV</translation>
    </message>
    <message>
        <source>Digital Cinema</source>
        <translation>デジタルシネマ</translation>
    </message>
    <message>
        <source>Colorspace</source>
        <translation>色空間</translation>
    </message>
    <message>
        <source>CIE xy</source>
        <translation>CIE xy</translation>
    </message>
    <message>
        <source>CIE u&apos;v&apos;</source>
        <translation>CIE u&apos;v&apos;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the Plankian Locus &lt;/html&gt;</source>
        <translation>&lt;html&gt;黒体軌跡を表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Show black body curve</source>
        <translation>黒体軌跡を表示</translation>
    </message>
    <message>
        <source>Show Target white point</source>
        <translation>ターゲットの白色点を表示</translation>
    </message>
    <message>
        <source>Curves</source>
        <translation>カーブ</translation>
    </message>
    <message>
        <source>Show Curve Type</source>
        <translation>カーブの種類</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the Target display response curve.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ターゲットのディスプレイ応答カーブを表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the actual calibrated and measured display monitor response curves.&lt;br&gt;These measurements are taken when the ICC Profile is generated.&lt;/html&gt;</source>
        <translation>&lt;html&gt;キャリブレーション後に測定したディスプレイモニターの実際の応答カーブを表示します。&lt;br&gt;これらの測定は ICC プロファイルの生成時に行われます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Calibrated</source>
        <translation>キャリブレーション後</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the display&apos;s uncorrected (native) response curves.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイの補正前 (ネイティブ) の応答カーブを表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Uncalibrated</source>
        <translation>キャリブレーション前</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the correction curves that are applied to the display monitor&apos;s LUTs (look Up Tables)&lt;br&gt;in order to achieve the Target response curve.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ターゲットの応答カーブを実現するために、ディスプレイモニターの LUT (ルックアップテーブル) に&lt;br&gt;適用される補正カーブを表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Correction</source>
        <translation>補正</translation>
    </message>
    <message>
        <source>Show Curve Color</source>
        <translation>カーブの色</translation>
    </message>
    <message>
        <source>All</source>
        <translation>すべて</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>赤</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>緑</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>青</translation>
    </message>
    <message>
        <source>Color Tracking</source>
        <translation>カラートラッキング</translation>
    </message>
    <message>
        <source>Grayscale Delta E</source>
        <translation>グレースケールのデルタE</translation>
    </message>
    <message>
        <source>Average:</source>
        <translation>平均:</translation>
    </message>
    <message>
        <source>Maximum:</source>
        <translation>最大:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Includes measurements taken near black (luminance below 5 cd/m2).&lt;/html&gt;</source>
        <translation>&lt;html&gt;黒付近 (輝度 5 cd/m2 未満) の測定値を含めます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Include Dark Values</source>
        <translation>暗部の値を含める</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the average Delta-E value as a vertical line on the graph.&lt;/html&gt;</source>
        <translation>&lt;html&gt;デルタEの平均値をグラフ上に縦線で表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Show Average</source>
        <translation>平均を表示</translation>
    </message>
    <message>
        <source>DICOM Conformance</source>
        <translation>DICOM 適合性</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>グラフ</translation>
    </message>
    <message>
        <source>JND per DDL</source>
        <translation>JND per DDL</translation>
    </message>
    <message>
        <source>Contrast Response</source>
        <translation>コントラスト応答</translation>
    </message>
    <message>
        <source>&lt;html&gt;Average JND per DDL (Just Noticable Difference per Digital Driving Level)&lt;/html&gt;</source>
        <translation>&lt;html&gt;JND per DDL の平均 (デジタル駆動レベルあたりの弁別閾)&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Standard Deviation of the JND per DDL points&lt;/html&gt;</source>
        <translation>&lt;html&gt;JND per DDL の各点の標準偏差&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Std Dev:</source>
        <translation>標準偏差:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the average JND per DDL value as a horizontal line.&lt;/html&gt;</source>
        <translation>&lt;html&gt;JND per DDL の平均値を横線で表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the linear best fit line for the calculated JND per DDL values.&lt;/html&gt;</source>
        <translation>&lt;html&gt;算出した JND per DDL の値の線形近似直線を表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Show Linear Fit</source>
        <translation>線形近似を表示</translation>
    </message>
    <message>
        <source>&lt;html&gt;Percentage error and JND Index location of the highest deviation from the Barten Model.&lt;/html&gt;</source>
        <translation>&lt;html&gt;Barten モデルからの最大偏差の誤差率と JND インデックスの位置。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Max Error:</source>
        <translation>最大誤差:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the Barten Model calculated from the minimum and maximum luminance.&lt;/html&gt;</source>
        <translation>&lt;html&gt;最小輝度と最大輝度から算出した Barten モデルを表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Show Barten Model</source>
        <translation>Barten モデルを表示</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the Barten Model 10% limits used for primary class displays.&lt;/html&gt;</source>
        <translation>&lt;html&gt;プライマリクラスのディスプレイに用いる Barten モデルの 10% 許容範囲を表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Show 10% Limits</source>
        <translation>10% 許容範囲を表示</translation>
    </message>
    <message>
        <source>&lt;html&gt;Shows the Barten Model 20% limits used for secondary class displays&lt;/html&gt;</source>
        <translation>&lt;html&gt;セカンダリクラスのディスプレイに用いる Barten モデルの 20% 許容範囲を表示します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Show 20% Limits</source>
        <translation>20% 許容範囲を表示</translation>
    </message>
</context>
<context>
    <name>MasterControl</name>
    <message>
        <source>&lt;br&gt;Detected </source>
        <comment>splashscreen message when monitor detected</comment>
        <translation>&lt;br&gt;検出しました: </translation>
    </message>
    <message>
        <source>&lt;br&gt;Detecting displays...</source>
        <comment>splashscreen message when looking for display</comment>
        <translation>&lt;br&gt;ディスプレイを検出しています...</translation>
    </message>
    <message>
        <source>&lt;br&gt;Detecting calibration sensor...</source>
        <comment>splashscreen message when looking for sensor</comment>
        <translation>&lt;br&gt;キャリブレーションセンサーを検出しています...</translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;img src=&quot;:/images/Resources/alerts_yellow_icon_12.png&quot;&gt;&amp;nbsp;No calibration sensor detected</source>
        <comment>splashscreen message when no sensor detected</comment>
        <translation>&lt;br&gt;&lt;img src=&quot;:/images/Resources/alerts_yellow_icon_12.png&quot;&gt;&amp;nbsp;キャリブレーションセンサーが検出されませんでした</translation>
    </message>
    <message>
        <source>&lt;br&gt;Detected </source>
        <comment>splashscreen message when sensor detected</comment>
        <translation>&lt;br&gt;検出しました: </translation>
    </message>
    <message>
        <source>The preferences could not be read. The file has been kept as %1, and every preference is back to its default.&lt;br&gt;&lt;br&gt;Units, storage locations and recalibration reminders may differ from what you chose: Edit &gt; Preferences shows them.</source>
        <translation>環境設定を読み込めませんでした。このファイルは %1 として保管し、すべての環境設定を初期値に戻しました。&lt;br&gt;&lt;br&gt;輝度の単位、保存場所、再キャリブレーションの通知間隔が、選択した設定と異なる場合があります: 編集 &gt; 環境設定 で確認できます。</translation>
    </message>
    <message>
        <source>The record of the displays&apos; calibrations could not be read. It has been kept as %1, and a new record is started.&lt;br&gt;&lt;br&gt;Displays may be shown as not calibrated until they are calibrated again. Their stored calibrations are still there: File &gt; Open Previous Calibration loads them.</source>
        <translation>ディスプレイのキャリブレーションの記録を読み込めませんでした。この記録は %1 として保管し、新しい記録を開始します。&lt;br&gt;&lt;br&gt;再度キャリブレーションするまで、ディスプレイは未キャリブレーションと表示される場合があります。保存されたキャリブレーションは残っています: ファイル &gt; 以前のキャリブレーションを開く で読み込めます。</translation>
    </message>
</context>
<context>
    <name>MyCustomMessageBox</name>
    <message>
        <source>Don&apos;t show this again</source>
        <translation>今後このメッセージを表示しない</translation>
    </message>
</context>
<context>
    <name>PZ_About_Dialog</name>
    <message>
        <source>:/images/Resources/pelzora2logogreyback.png</source>
        <translation>:/images/Resources/pelzora2logogreyback.png</translation>
    </message>
</context>
<context>
    <name>PZ_About_DialogClass</name>
    <message>
        <source>Pelzora</source>
        <translation>Pelzora</translation>
    </message>
    <message>
        <source>Copyright © 2026 Orvane Corporation. All rights reserved.</source>
        <translation>Copyright © 2026 Orvane Corporation. All rights reserved.</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>バージョン</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;https://www.orvane.example/&quot;&gt;www.orvane.example&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;https://www.orvane.example/&quot;&gt;www.orvane.example&lt;/a&gt;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PZ_Ambient_Light_Measurement_Dialog</name>
    <message>
        <source>Done</source>
        <comment>measurement DONE button</comment>
        <translation>完了</translation>
    </message>
    <message>
        <source>Start</source>
        <comment>measurement START button</comment>
        <translation>開始</translation>
    </message>
    <message>
        <source>Stop</source>
        <comment>measurement STOP button</comment>
        <translation>停止</translation>
    </message>
    <message>
        <source>Taking Measurement...</source>
        <translation>測定しています...</translation>
    </message>
</context>
<context>
    <name>PZ_Ambient_Light_Measurement_DialogClass</name>
    <message>
        <source>Ambient Light Measurement</source>
        <translation>環境光の測定</translation>
    </message>
    <message>
        <source>ISO 12646 makes the following recommendations about the ambient lighting conditions for displays used in color critical applications.

When Viewing Monitor and Hard Copy Images:

1. Ambient illumination should be less than 32 Lux.
2. The color temperature of the ambient light should be within +/- 200K of the viewing booth illumination.

When Viewing Monitor Images Only:

1. The luminance of the area surrounding the monitor should be less than 20% and preferably even less than 3% of the monitor white luminance (Intensity).
2. Ambient illumination should be less than 25% of the monitor white luminance (Intensity).
</source>
        <translation>ISO 12646 では、色が重要な用途に使用するディスプレイの環境光の条件について、次のことを推奨しています。

モニターの画像とハードコピーを見比べる場合:

1. 環境光の照度は 32 ルクス未満にしてください。
2. 環境光の色温度は、観察ブースの照明の ±200K 以内にしてください。

モニターの画像だけを見る場合:

1. モニター周囲の輝度は、モニターの白の輝度 (Intensity) の 20% 未満、できれば 3% 未満にしてください。
2. 環境光の照度は、モニターの白の輝度 (Intensity) の 25% 未満にしてください。
</translation>
    </message>
    <message>
        <source>Sensor Ambient Light Measurement</source>
        <translation>センサーによる環境光の測定</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Luminance:</source>
        <translation>輝度:</translation>
    </message>
    <message>
        <source>Color Temperature:</source>
        <translation>色温度:</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>次へ</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>PZ_Calibrate_Dialog</name>
    <message>
        <source>Calibrating the display</source>
        <translation>ディスプレイをキャリブレーションしています</translation>
    </message>
    <message>
        <source>Display Profile Information</source>
        <comment>main group box title when generating profile</comment>
        <translation>ディスプレイプロファイル情報</translation>
    </message>
    <message>
        <source>Display Validation Information</source>
        <comment>main group box title when validating the calibration</comment>
        <translation>ディスプレイ検証情報</translation>
    </message>
    <message>
        <source>Configuring Monitor Settings</source>
        <comment>TASK_SETUP_MONITOR_FOR_CALIBRATION</comment>
        <translation>モニター設定を構成しています</translation>
    </message>
    <message>
        <source>Measuring Native Primaries</source>
        <comment>TASK_MEASURING_NATIVE_PRIMARIES</comment>
        <translation>ネイティブ原色を測定しています</translation>
    </message>
    <message>
        <source>Measuring Adjusted Primaries</source>
        <comment>TASK_MEASURING_UNCORRECTED_PRIMARIES</comment>
        <translation>調整後の原色を測定しています</translation>
    </message>
    <message>
        <source>Adjusting White Point</source>
        <comment>TASK_ADJUSTING_WHITE_POINT</comment>
        <translation>白色点を調整しています</translation>
    </message>
    <message>
        <source>Measuring Corrected Response</source>
        <comment>TASK_MEASURING_CORRECTED_PRIMARIES</comment>
        <translation>補正後の応答を測定しています</translation>
    </message>
    <message>
        <source>Measuring Native Response</source>
        <comment>TASK_MEASURING_UNCORRECTED_RESPONSE_CURVES</comment>
        <translation>ネイティブ応答を測定しています</translation>
    </message>
    <message>
        <source>Updating Monitor LUTs</source>
        <comment>TASK_UPDATING_MONITOR_LUTS</comment>
        <translation>モニターの LUT を更新しています</translation>
    </message>
    <message>
        <source>Waiting to Stabilize</source>
        <comment>TASK_WAITING_TO_STABILIZE</comment>
        <translation>安定するのを待っています</translation>
    </message>
    <message>
        <source>Adjusting Luminance</source>
        <comment>TASK_ADJUSTING_LUMINANCE</comment>
        <translation>輝度を調整しています</translation>
    </message>
    <message>
        <source>Resetting to Default Settings</source>
        <comment>TASK_RESET_MONITOR_TO_KNOWN_STATE</comment>
        <translation>初期設定にリセットしています</translation>
    </message>
    <message>
        <source>Canceling operation</source>
        <comment>TASK_CANCEL</comment>
        <translation>操作をキャンセルしています</translation>
    </message>
    <message>
        <source>Unknown Step %1 of %2</source>
        <translation>不明なステップ %1/%2</translation>
    </message>
    <message>
        <source>&lt;h1&gt;&lt;font color=LightYellow&gt;Position the sensor gently on the screen as shown and click &lt;b&gt;Continue&lt;/b&gt;.&lt;br&gt;If necessary tilt the display back slightly so the sensor is resting flat against the screen.&lt;br&gt;&lt;u&gt;Never&lt;/u&gt; use suction cups to hold the sensor in place.&lt;/font&gt;&lt;/h1&gt;</source>
        <comment>attach sensor to screen message</comment>
        <translation>&lt;h1&gt;&lt;font color=LightYellow&gt;図のようにセンサーを画面にそっと置き、&lt;b&gt;続行&lt;/b&gt;をクリックしてください。&lt;br&gt;必要に応じてディスプレイを少し後ろに傾け、センサーが画面に平らに密着するようにしてください。&lt;br&gt;センサーの固定に吸盤は&lt;u&gt;絶対に&lt;/u&gt;使用しないでください。&lt;/font&gt;&lt;/h1&gt;</translation>
    </message>
    <message>
        <source>&lt;br&gt;Click &lt;b&gt;Continue&lt;/b&gt; when ready.</source>
        <comment>continue message for sensor zero calibration</comment>
        <translation>&lt;br&gt;準備ができたら&lt;b&gt;続行&lt;/b&gt;をクリックしてください。</translation>
    </message>
    <message>
        <source>&lt;h1&gt;&lt;font color=LightYellow&gt;Zero calibration in progress...&lt;/font&gt;&lt;/h1&gt;</source>
        <comment>zero cal in progress message</comment>
        <translation>&lt;h1&gt;&lt;font color=LightYellow&gt;ゼロキャリブレーションを実行しています...&lt;/font&gt;&lt;/h1&gt;</translation>
    </message>
    <message>
        <source>&lt;br&gt;Click &lt;b&gt;Continue&lt;/b&gt; when ready.</source>
        <comment>continue message for message_string_move_selector_to_measure_position</comment>
        <translation>&lt;br&gt;準備ができたら&lt;b&gt;続行&lt;/b&gt;をクリックしてください。</translation>
    </message>
</context>
<context>
    <name>PZ_Custom_Gamma_Curve_Dialog</name>
    <message>
        <source>Input Level</source>
        <translation>入力レベル</translation>
    </message>
    <message>
        <source>Output Luminance</source>
        <translation>出力輝度</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>テキストファイル (*.txt)</translation>
    </message>
    <message>
        <source>Open Custom Curve Points text file</source>
        <translation>カスタムカーブの点のテキストファイルを開く</translation>
    </message>
</context>
<context>
    <name>PZ_Custom_Gamma_Curve_DialogClass</name>
    <message>
        <source>Custom Gamma Curve</source>
        <translation>カスタムガンマカーブ</translation>
    </message>
    <message>
        <source>&lt;html&gt;Creates a curve based on the sRGB specification.&lt;/html&gt;</source>
        <translation>&lt;html&gt;sRGB 規格に基づくカーブを作成します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>sRGB</source>
        <translation>sRGB</translation>
    </message>
    <message>
        <source>&lt;html&gt;Creates a curve based on L* in the Lab specification.&lt;/html&gt;</source>
        <translation>&lt;html&gt;Lab 規格の L* に基づくカーブを作成します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>L*</source>
        <translation>L*</translation>
    </message>
    <message>
        <source>&lt;html&gt;Creates a curve based on the SMPTE-170M specification for NTSC video.&lt;/html&gt;</source>
        <translation>&lt;html&gt;NTSC ビデオ用の SMPTE-170M 規格に基づくカーブを作成します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>NTSC Video</source>
        <translation>NTSC ビデオ</translation>
    </message>
    <message>
        <source>&lt;html&gt;Creates a curve based on the SMPTE-240M specification for 1125 line HD video.&lt;/html&gt;</source>
        <translation>&lt;html&gt;1125 本 HD ビデオ用の SMPTE-240M 規格に基づくカーブを作成します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>SMPTE-240M</source>
        <translation>SMPTE-240M</translation>
    </message>
    <message>
        <source>&lt;html&gt;Creates a curve from list of values supplied in a text file.&lt;br&gt;&lt;br&gt;The file should contain between 3 and 256 values.&lt;br&gt;&lt;br&gt;The first value must be 0.&lt;br&gt;&lt;br&gt;Each value should be on a separate line.&lt;br&gt;&lt;br&gt;All values are assumed to equally spaced along the Input Level axis.&lt;br&gt;The values will be automatically scaled.&lt;br&gt;&lt;br&gt;The file name must have the extension &apos;.txt&apos;.&lt;/html&gt;</source>
        <translation>&lt;html&gt;テキストファイルで指定した値の一覧からカーブを作成します。&lt;br&gt;&lt;br&gt;ファイルには 3 個以上 256 個以下の値を記述してください。&lt;br&gt;&lt;br&gt;最初の値は 0 にしてください。&lt;br&gt;&lt;br&gt;値は 1 行に 1 つずつ記述してください。&lt;br&gt;&lt;br&gt;値は入力レベルの軸に沿って等間隔に並んでいるものとみなします。&lt;br&gt;値は自動的にスケーリングされます。&lt;br&gt;&lt;br&gt;ファイル名の拡張子は「.txt」にしてください。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>インポート...</translation>
    </message>
</context>
<context>
    <name>PZ_Custom_White_Point_Dialog</name>
    <message>
        <source>%2 %1uv</source>
        <translation>%2 %1uv</translation>
    </message>
    <message>
        <source>Measured Intensity: %1</source>
        <translation>測定した輝度: %1</translation>
    </message>
</context>
<context>
    <name>PZ_Custom_White_Point_DialogClass</name>
    <message>
        <source>Custom White Point</source>
        <translation>カスタム白色点</translation>
    </message>
    <message>
        <source>White Point</source>
        <translation>白色点</translation>
    </message>
    <message>
        <source>Black Body:</source>
        <translation>黒体:</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>CIE Coordinates:</source>
        <translation>CIE 座標:</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>y</source>
        <translation>y</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>測定</translation>
    </message>
    <message>
        <source>Visual Match</source>
        <translation>目視合わせ</translation>
    </message>
    <message>
        <source>Adjust the screen color visually to match your reference. Click Measure when done.</source>
        <translation>基準に合うように画面の色を目視で調整してください。完了したら「測定」をクリックしてください。</translation>
    </message>
    <message>
        <source>Red:</source>
        <translation>赤:</translation>
    </message>
    <message>
        <source>Green:</source>
        <translation>緑:</translation>
    </message>
    <message>
        <source>Blue:</source>
        <translation>青:</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>リセット</translation>
    </message>
    <message>
        <source>White screen background</source>
        <translation>白い画面の背景</translation>
    </message>
    <message>
        <source>Measurement Area</source>
        <translation>測定領域</translation>
    </message>
</context>
<context>
    <name>PZ_Main_Dialog</name>
    <message>
        <source>Proceed anyway</source>
        <translation>このまま続行</translation>
    </message>
    <message>
        <source>&lt;html&gt;Starts the display calibration process&lt;br&gt;&lt;br&gt;No calibration sensor was found: connect one, then choose Auto-Detect in the Preferences.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイのキャリブレーションを開始します&lt;br&gt;&lt;br&gt;キャリブレーションセンサーが見つかりません: センサーを接続してから、環境設定で「自動検出」を選択してください。&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>PZ_Open_MCS_File_DialogClass</name>
    <message>
        <source>Open Previous Monitor Calibration</source>
        <translation>以前のモニターキャリブレーションを開く</translation>
    </message>
    <message>
        <source>Select the previous calibration to open and restore:</source>
        <translation>開いて復元する以前のキャリブレーションを選択してください:</translation>
    </message>
    <message>
        <source>Show only calibrations for current monitor</source>
        <translation>現在のモニターのキャリブレーションのみ表示</translation>
    </message>
</context>
<context>
    <name>PZ_Preferences_Dialog</name>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <source>32 (Default)</source>
        <translation>32 (既定)</translation>
    </message>
    <message>
        <source>52 (Highest Quality)</source>
        <translation>52 (最高品質)</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>しない</translation>
    </message>
    <message>
        <source>2 Days</source>
        <translation>2 日</translation>
    </message>
    <message>
        <source>3 Days</source>
        <translation>3 日</translation>
    </message>
    <message>
        <source>1 Week</source>
        <translation>1 週間</translation>
    </message>
    <message>
        <source>2 Weeks</source>
        <translation>2 週間</translation>
    </message>
    <message>
        <source>4 Weeks</source>
        <translation>4 週間</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>該当なし</translation>
    </message>
    <message>
        <source>Select location to store ICC Profile</source>
        <translation>ICC プロファイルの保存先を選択</translation>
    </message>
</context>
<context>
    <name>PZ_Preferences_DialogClass</name>
    <message>
        <source>Pelzora Preferences</source>
        <translation>Pelzora 環境設定</translation>
    </message>
    <message>
        <source>Calibration Sensor</source>
        <translation>キャリブレーションセンサー</translation>
    </message>
    <message>
        <source>Sensor type:</source>
        <translation>センサーの種類:</translation>
    </message>
    <message>
        <source>Auto-Detect</source>
        <translation>自動検出</translation>
    </message>
    <message>
        <source>&lt;html&gt;Searches for a supported Calibration Sensor.&lt;/html&gt;</source>
        <translation>&lt;html&gt;対応するキャリブレーションセンサーを検索します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>モデル:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Serial #:</source>
        <translation>シリアル番号:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;b&gt;Note:&lt;/b&gt; If the Calibration Sensor was connected &lt;u&gt;after&lt;/u&gt; launching this application, it may be necessary to restart this application in order to detect the sensor.&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;b&gt;注:&lt;/b&gt; このアプリケーションの起動&lt;u&gt;後&lt;/u&gt;にキャリブレーションセンサーを接続した場合は、センサーを検出するためにこのアプリケーションの再起動が必要になることがあります。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Average low luminance measurements</source>
        <translation>低輝度の測定値を平均化する</translation>
    </message>
    <message>
        <source>&lt;html&gt;Improves the accuracy of low luminance measurments by taking several measurements and averaging them. Selecting this option will increase the monitor calibration time.&lt;/html&gt;</source>
        <translation>&lt;html&gt;複数回測定して平均することで、低輝度の測定精度を高めます。このオプションを選択すると、モニターのキャリブレーション時間が長くなります。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>キャリブレーション</translation>
    </message>
    <message>
        <source>Calibration and Profile steps:</source>
        <translation>キャリブレーションとプロファイルのステップ数:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Sets the number of steps used to measure the monitor grayscale during calibration and generation of the ICC profile. A larger number will generally result in a more accurate calibration, but will increase the calibration time. At least 16 steps are recommended and 32 is sufficient for most applications.&lt;/html&gt;</source>
        <translation>&lt;html&gt;キャリブレーションと ICC プロファイルの生成時に、モニターのグレースケールを測定するステップ数を設定します。ステップ数を多くすると一般にキャリブレーションの精度は上がりますが、キャリブレーション時間が長くなります。16 ステップ以上を推奨します。ほとんどの用途では 32 ステップで十分です。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Recalibration Reminder Period:</source>
        <translation>再キャリブレーションの通知間隔:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Sets the duration after calibration until a reminder to re-calibrate the monitor will be displayed when the application is launched.&lt;/html&gt;</source>
        <translation>&lt;html&gt;キャリブレーション後、アプリケーションの起動時に再キャリブレーションの通知を表示するまでの期間を設定します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Extended luminance stabilization time</source>
        <translation>輝度安定化の待ち時間を延長する</translation>
    </message>
    <message>
        <source>&lt;html&gt;Increases the waiting time for the display to stabilize while the luminance is being adjusted. This option can be used if necessary to increase the accuracy of the luminance adjustment when a Target with a &lt;i&gt;Specific Level&lt;/i&gt; of Intensity is used. It may &lt;u&gt;significantly&lt;/u&gt; increase the calibration time, and is normally only useful when a very low Intensity value is used.&lt;/html&gt;</source>
        <translation>&lt;html&gt;輝度の調整中に、ディスプレイが安定するまでの待ち時間を延長します。輝度に&lt;i&gt;指定レベル&lt;/i&gt;を使うターゲットで、輝度調整の精度を高める必要がある場合に使用します。キャリブレーション時間が&lt;u&gt;大幅に&lt;/u&gt;長くなることがあり、通常はごく低い輝度値を使う場合にのみ有効です。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>ICC Profile</source>
        <translation>ICC プロファイル</translation>
    </message>
    <message>
        <source>Generate ICC Profile after calibration</source>
        <translation>キャリブレーション後に ICC プロファイルを生成する</translation>
    </message>
    <message>
        <source>&lt;html&gt;If the applications you use do not take advantage of an ICC display profile, you can deselect this option to skip the generation of the profile when the display is calibrated.&lt;/html&gt;</source>
        <translation>&lt;html&gt;使用するアプリケーションが ICC ディスプレイプロファイルを利用しない場合は、このオプションの選択を解除すると、ディスプレイのキャリブレーション時にプロファイルの生成を省略できます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Set as Windows Color Management System Monitor Profile</source>
        <translation>Windows カラーマネジメントシステムのモニタープロファイルとして設定する</translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically selects and associates the generated ICC monitor profile with the Color Management System (CMS).&lt;/html&gt;</source>
        <translation>&lt;html&gt;生成した ICC モニタープロファイルを自動的に選択し、カラーマネジメントシステム (CMS) に関連付けます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>ICC Profile file name:</source>
        <translation>ICC プロファイルのファイル名:</translation>
    </message>
    <message>
        <source>Set automatically</source>
        <translation>自動的に設定する</translation>
    </message>
    <message>
        <source>Prompt for file name and description</source>
        <translation>ファイル名と説明を入力する</translation>
    </message>
    <message>
        <source>Storage Location:</source>
        <translation>保存場所:</translation>
    </message>
    <message>
        <source>Per user of this computer</source>
        <translation>このコンピューターのユーザーごと</translation>
    </message>
    <message>
        <source>Shared by all users of this computer</source>
        <translation>このコンピューターのすべてのユーザーで共有</translation>
    </message>
    <message>
        <source>Save To Location:</source>
        <translation>保存先:</translation>
    </message>
    <message>
        <source>Select...</source>
        <translation>選択...</translation>
    </message>
    <message>
        <source>Source of primary color chromaticities for ICC Profile:</source>
        <translation>ICC プロファイルに用いる原色色度のソース:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically selects the optimal setting based on the color sensor model and the display monitor type.&lt;html&gt;</source>
        <translation>&lt;html&gt;カラーセンサーのモデルとディスプレイモニターの種類に応じて、最適な設定を自動的に選択します。&lt;html&gt;</translation>
    </message>
    <message>
        <source>Calibration sensor measurements</source>
        <translation>キャリブレーションセンサーの測定値</translation>
    </message>
    <message>
        <source>&lt;html&gt;Uses the measurements taken by the color sensor to encode the color gamut information in the ICC profile generated. This setting is suitable for all sensors on &lt;u&gt;standard gamut&lt;/u&gt; displays. Some sensors are inaccurate when measuring wide color gamut displays and this may cause color shifts when viewing images in color managed applications.&lt;/html&gt;</source>
        <translation>&lt;html&gt;カラーセンサーによる測定値を使って、生成する ICC プロファイルに色域の情報を書き込みます。この設定は、&lt;u&gt;標準色域&lt;/u&gt;のディスプレイではすべてのセンサーに適しています。広色域のディスプレイの測定が不正確なセンサーもあり、その場合はカラーマネジメント対応のアプリケーションで画像を表示したときに色ずれが起こることがあります。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Factory measurements</source>
        <translation>工場での測定値</translation>
    </message>
    <message>
        <source>&lt;html&gt;Use the measurements taken during production of the display monitor to encode the color gamut information in the generated ICC profile. These measurements may be more accurate than those of some color sensors when measuring &lt;u&gt;wide color gamut&lt;/u&gt; displays.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイモニターの製造時に測定した値を使って、生成する ICC プロファイルに色域の情報を書き込みます。&lt;u&gt;広色域&lt;/u&gt;のディスプレイを測定する場合は、一部のカラーセンサーよりもこの測定値のほうが正確なことがあります。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>インターフェース</translation>
    </message>
    <message>
        <source>Luminance Units:</source>
        <translation>輝度の単位:</translation>
    </message>
    <message>
        <source>Candelas</source>
        <translation>カンデラ</translation>
    </message>
    <message>
        <source>Foot Lamberts</source>
        <translation>フートランバート</translation>
    </message>
    <message>
        <source>Automatically load settings on Target change</source>
        <translation>ターゲットの変更時に設定を自動的に読み込む</translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically loads the most recent Monitor Caibration Settings when a different Target is selected (if available).&lt;/html&gt;</source>
        <translation>&lt;html&gt;別のターゲットを選択したときに、最新のモニターキャリブレーション設定を自動的に読み込みます (ある場合)。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically loads the most recent Monitor Caibration Settings when a different Target is selected (if a calibration for that Target has been performed previously).&lt;/html&gt;</source>
        <translation>&lt;html&gt;別のターゲットを選択したときに、最新のモニターキャリブレーション設定を自動的に読み込みます (そのターゲットでキャリブレーションを行ったことがある場合)。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Confirm display calibration status each time application is launched</source>
        <translation>アプリケーションの起動時に毎回ディスプレイのキャリブレーション状態を確認する</translation>
    </message>
    <message>
        <source>&lt;html&gt;Queries the display monitor each time the application is launched to see if any of the settings have changed since the last calibration. If the settings have been changed, a warning message will be displayed, and the last calibration settings can be reset.&lt;br&gt;Checking the monitor settings will take several seconds each time the application is launched.&lt;/html&gt;</source>
        <translation>&lt;html&gt;アプリケーションの起動時に毎回ディスプレイモニターに問い合わせ、前回のキャリブレーション以降に設定が変更されていないか確認します。設定が変更されていた場合は警告メッセージを表示し、前回のキャリブレーション設定に戻すことができます。&lt;br&gt;モニター設定の確認には、起動のたびに数秒かかります。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Targets, Calibrations and Preferences:</source>
        <translation>ターゲット、キャリブレーション、環境設定:</translation>
    </message>
    <message>
        <source>&lt;html&gt;The current user has their own private Targets, Calibrations and Preferences.&lt;/html&gt;</source>
        <translation>&lt;html&gt;現在のユーザーが専用のターゲット、キャリブレーション、環境設定を持ちます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>All users of this computer</source>
        <translation>このコンピューターのすべてのユーザー</translation>
    </message>
    <message>
        <source>&lt;html&gt;All users share the Targets, Calibrations, and Preferences.&lt;/html&gt;</source>
        <translation>&lt;html&gt;すべてのユーザーがターゲット、キャリブレーション、環境設定を共有します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>ディスプレイ</translation>
    </message>
    <message>
        <source>Lock OSD (On Screen Display) controls when calibrated:</source>
        <translation>キャリブレーション後に OSD (オンスクリーンディスプレイ) の操作をロックする:</translation>
    </message>
    <message>
        <source>Do not lock</source>
        <translation>ロックしない</translation>
    </message>
    <message>
        <source>Lock all except Brightness and Contrast</source>
        <translation>明るさとコントラスト以外をロック</translation>
    </message>
    <message>
        <source>Lock all</source>
        <translation>すべてロック</translation>
    </message>
    <message>
        <source>&lt;html&gt;Selects if the display monitor&apos;s On Screen Display control buttons are locked when calibrated. Locking the controls can be useful to prevent accidental or unauthorized adjustment of the monitor once it is calibrated.&lt;/html&gt;</source>
        <translation>&lt;html&gt;キャリブレーション後にディスプレイモニターの OSD 操作ボタンをロックするかどうかを選択します。操作をロックすると、キャリブレーション後のモニターが誤って、または無断で調整されるのを防ぐことができます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation>初期値に戻す</translation>
    </message>
</context>
<context>
    <name>PZ_Profile_Name_Description_DialogClass</name>
    <message>
        <source>ICC Color Profile Name and Description</source>
        <translation>ICC カラープロファイルの名前と説明</translation>
    </message>
    <message>
        <source>Profile File Name:</source>
        <translation>プロファイルのファイル名:</translation>
    </message>
    <message>
        <source>Set Description to File Name</source>
        <translation>説明にファイル名を使用</translation>
    </message>
    <message>
        <source>Profile Description:</source>
        <translation>プロファイルの説明:</translation>
    </message>
</context>
<context>
    <name>PZ_colorimeter_dialog</name>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
</context>
<context>
    <name>PZ_colorimeter_dialogClass</name>
    <message>
        <source>Colorimeter Tool</source>
        <translation>測色ツール</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>測定</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>1 回</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>連続</translation>
    </message>
    <message>
        <source>CIE XYZ</source>
        <translation>CIE XYZ</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>Z:</source>
        <translation>Z:</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>CIE xyY</source>
        <translation>CIE xyY</translation>
    </message>
    <message>
        <source>x:</source>
        <translation>x:</translation>
    </message>
    <message>
        <source>y:</source>
        <translation>y:</translation>
    </message>
    <message>
        <source>Color Temperature</source>
        <translation>色温度</translation>
    </message>
    <message>
        <source>- K</source>
        <translation>- K</translation>
    </message>
    <message>
        <source>Sample Color</source>
        <translation>サンプルカラー</translation>
    </message>
    <message>
        <source>Red:</source>
        <translation>赤:</translation>
    </message>
    <message>
        <source>Green:</source>
        <translation>緑:</translation>
    </message>
    <message>
        <source>Blue:</source>
        <translation>青:</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>リセット</translation>
    </message>
    <message>
        <source>Color Picker</source>
        <translation>カラーピッカー</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Measurement Area</source>
        <translation>測定領域</translation>
    </message>
</context>
<context>
    <name>PZ_dicom_graph</name>
    <message>
        <source>Digital Driving Level</source>
        <translation>デジタル駆動レベル</translation>
    </message>
    <message>
        <source>JND per DDL</source>
        <translation>JND per DDL</translation>
    </message>
    <message>
        <source>JND Index</source>
        <translation>JND インデックス</translation>
    </message>
    <message>
        <source>dL/L for a JND</source>
        <translation>JND あたりの dL/L</translation>
    </message>
</context>
<context>
    <name>PZ_edit_target_dialog</name>
    <message>
        <source>Default</source>
        <translation>既定</translation>
    </message>
    <message>
        <source>500:1</source>
        <translation>500:1</translation>
    </message>
    <message>
        <source>450:1</source>
        <translation>450:1</translation>
    </message>
    <message>
        <source>400:1</source>
        <translation>400:1</translation>
    </message>
    <message>
        <source>350:1</source>
        <translation>350:1</translation>
    </message>
    <message>
        <source>300:1</source>
        <translation>300:1</translation>
    </message>
    <message>
        <source>250:1</source>
        <translation>250:1</translation>
    </message>
    <message>
        <source>200:1</source>
        <translation>200:1</translation>
    </message>
    <message>
        <source>150:1</source>
        <translation>150:1</translation>
    </message>
    <message>
        <source>100:1</source>
        <translation>100:1</translation>
    </message>
    <message>
        <source>75:1</source>
        <translation>75:1</translation>
    </message>
    <message>
        <source>50:1</source>
        <translation>50:1</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>カスタム</translation>
    </message>
    <message>
        <source>%1 K (%2 %3 uv)</source>
        <translation>%1 K (%2 %3 uv)</translation>
    </message>
    <message>
        <source>x=%1 y=%2</source>
        <translation>x=%1 y=%2</translation>
    </message>
    <message>
        <source>Black Level: </source>
        <translation>黒レベル: </translation>
    </message>
</context>
<context>
    <name>PZ_edit_target_dialogClass</name>
    <message>
        <source>Edit Calibration Target</source>
        <translation>キャリブレーションターゲットの編集</translation>
    </message>
    <message>
        <source>White Point</source>
        <translation>白色点</translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation>編集...</translation>
    </message>
    <message>
        <source>Color Temp:</source>
        <translation>色温度:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>CIE xy:</source>
        <translation>CIE xy:</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>輝度</translation>
    </message>
    <message>
        <source>&lt;html&gt;Calibrates the display Intensity to the maximum possible value.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイの輝度を、可能な最大値にキャリブレーションします。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Maximum Possible</source>
        <translation>可能な最大値</translation>
    </message>
    <message>
        <source>&lt;html&gt;Calibrates the display Intensity to a specific value.&lt;br&gt;&lt;br&gt;If this Intensity can not be achieved then the display will be calibrated to the closest possible Intensity.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイの輝度を、指定した値にキャリブレーションします。&lt;br&gt;&lt;br&gt;この輝度を実現できない場合は、可能な限り近い輝度にキャリブレーションします。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Specific Level</source>
        <translation>指定レベル</translation>
    </message>
    <message>
        <source>cd/m²</source>
        <translation>cd/m²</translation>
    </message>
    <message>
        <source>Contrast Ratio (Black Level)</source>
        <translation>コントラスト比 (黒レベル)</translation>
    </message>
    <message>
        <source>&lt;html&gt;Sets the display&apos;s target Contrast Ratio (ratio of white to black luminance).&lt;br&gt;&lt;br&gt;&quot;Monitor Default&quot; will achieve the highest possible contrast ratio.&lt;br&gt;&lt;br&gt;The maximum contrast ratio is limited by the monitor characteristics.&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイのターゲットのコントラスト比 (白と黒の輝度の比) を設定します。&lt;br&gt;&lt;br&gt;「既定」(モニターの既定値) を選ぶと、可能な最大のコントラスト比になります。&lt;br&gt;&lt;br&gt;最大のコントラスト比はモニターの特性によって制限されます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>ガンマ</translation>
    </message>
    <message>
        <source>&lt;html&gt;Doesn&apos;t apply any corrections to the monitor&apos;s Native response curves.&lt;/html&gt;</source>
        <translation>&lt;html&gt;モニターのネイティブの応答カーブに補正を加えません。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Monitor Native Gamma</source>
        <translation>モニターのネイティブガンマ</translation>
    </message>
    <message>
        <source>Gamma Curve Value</source>
        <translation>ガンマカーブの値</translation>
    </message>
    <message>
        <source>&lt;html&gt;Digital Imaging and Communications in Medicine response curve.&lt;/html&gt;</source>
        <translation>&lt;html&gt;DICOM (医用デジタル画像と通信) の応答カーブです。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>DICOM Curve</source>
        <translation>DICOM カーブ</translation>
    </message>
    <message>
        <source>&lt;html&gt;Applies a Scale Factor to the Black Level and Intensity measurements used to calculate the DICOM response curve.&lt;br&gt;&lt;br&gt;This option can be used if the display is not going to be re-calibrated for several months.&lt;br&gt;&lt;br&gt;See the User&apos;s Guide for more information.&lt;/html&gt;</source>
        <translation>&lt;html&gt;DICOM 応答カーブの算出に用いる黒レベルと輝度の測定値に、スケールファクターを適用します。&lt;br&gt;&lt;br&gt;ディスプレイを数か月間再キャリブレーションしない場合に、このオプションを使用できます。&lt;br&gt;&lt;br&gt;詳しくはユーザーズガイドを参照してください。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Use Scale Factor</source>
        <translation>スケールファクターを使用する</translation>
    </message>
    <message>
        <source>Custom Curve</source>
        <translation>カスタムカーブ</translation>
    </message>
    <message>
        <source>&lt;html&gt;Opens the Edit dialog for configuring a custom shaped Target Curve.&lt;/html&gt;</source>
        <translation>&lt;html&gt;カスタム形状のターゲットカーブを設定する編集ダイアログを開きます。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Color Gamut</source>
        <translation>色域</translation>
    </message>
</context>
<context>
    <name>PZ_monitor_settings_dialogClass</name>
    <message>
        <source>Monitor Settings</source>
        <translation>モニター設定</translation>
    </message>
    <message>
        <source>Power LED Indicator</source>
        <translation>電源 LED インジケーター</translation>
    </message>
    <message>
        <source>LED Brightness:</source>
        <translation>LED の明るさ:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Adjusts the brightness of the Power LED Indicator.&lt;br&gt;&lt;br&gt;Reduce the brightness as necessary in dim lighting environments if the LED is distracting.&lt;/html&gt;</source>
        <translation>&lt;html&gt;電源 LED インジケーターの明るさを調整します。&lt;br&gt;&lt;br&gt;暗い環境で LED が気になる場合は、必要に応じて明るさを下げてください。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>&lt;html&gt;Adjusts the level of screen uniformity correction applied.&lt;br&gt;&lt;br&gt;Higher settings will improve the screen uniformity at the expense of screen brightness.&lt;/html&gt;</source>
        <translation>&lt;html&gt;画面のユニフォミティ補正の適用レベルを調整します。&lt;br&gt;&lt;br&gt;設定を高くすると、画面の明るさと引き換えに画面の均一性が向上します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Digital Uniformity Correction</source>
        <translation>デジタルユニフォミティ補正</translation>
    </message>
    <message>
        <source>Correction Level:</source>
        <translation>補正レベル:</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>White Screen Background</source>
        <translation>白い画面の背景</translation>
    </message>
</context>
<context>
    <name>PZ_test_pattern_dialogClass</name>
    <message>
        <source>Previous Test Pattern</source>
        <translation>前のテストパターン</translation>
    </message>
    <message>
        <source>[</source>
        <translation>[</translation>
    </message>
    <message>
        <source>Next Test Pattern</source>
        <translation>次のテストパターン</translation>
    </message>
    <message>
        <source>]</source>
        <translation>]</translation>
    </message>
    <message>
        <source>Close Test Pattern</source>
        <translation>テストパターンを閉じる</translation>
    </message>
</context>
<context>
    <name>PZ_test_pattern_widget</name>
    <message>
        <source>&lt;html&gt;&lt;b&gt;&lt;font COLOR=white&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;b&gt;&lt;font COLOR=white&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;b&gt;&lt;font COLOR=black&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;b&gt;&lt;font COLOR=black&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;font COLOR=yellow&gt;%1&lt;/font&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;font COLOR=yellow&gt;%1&lt;/font&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>TG18-QC Pattern</source>
        <translation>TG18-QC パターン</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>黒</translation>
    </message>
    <message>
        <source>25% Gray</source>
        <translation>25% グレー</translation>
    </message>
    <message>
        <source>50% Gray</source>
        <translation>50% グレー</translation>
    </message>
    <message>
        <source>75% Gray</source>
        <translation>75% グレー</translation>
    </message>
    <message>
        <source>White</source>
        <translation>白</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>赤</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>緑</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>青</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>黄</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>シアン</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>マゼンタ</translation>
    </message>
    <message>
        <source>Color and Grayscale wedges</source>
        <translation>カラーとグレースケールのウェッジ</translation>
    </message>
    <message>
        <source>Greyscale wedge</source>
        <translation>グレースケールのウェッジ</translation>
    </message>
    <message>
        <source>Double 100% Grayscale wedges</source>
        <translation>2 本の 100% グレースケールウェッジ</translation>
    </message>
    <message>
        <source>Double 25% Grayscale wedges</source>
        <translation>2 本の 25% グレースケールウェッジ</translation>
    </message>
    <message>
        <source>Black Quality Control</source>
        <translation>黒の品質管理</translation>
    </message>
    <message>
        <source>White Quality Control</source>
        <translation>白の品質管理</translation>
    </message>
    <message>
        <source>:/images/Resources/it8-6.png</source>
        <translation>:/images/Resources/it8-6.png</translation>
    </message>
    <message>
        <source>Pattern #%1: %2</source>
        <translation>パターン %1: %2</translation>
    </message>
</context>
<context>
    <name>Plotter</name>
    <message>
        <source>&lt;html&gt;Zooms in.&lt;br&gt;Click and drag in the graph to select the region to zoom in on.&lt;br&gt;Use the keyboard arrow keys to pan around.&lt;/html&gt;</source>
        <translation>&lt;html&gt;拡大します。&lt;br&gt;グラフ内をクリックしてドラッグし、拡大する領域を選択します。&lt;br&gt;キーボードの矢印キーで表示位置を移動します。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Zooms out.&lt;/html&gt;</source>
        <translation>&lt;html&gt;縮小します。&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The operation has been canceled.</source>
        <comment>STR_RES_ID_ERROR_OPERATION_CANCELED_BY_USER</comment>
        <translation>操作はキャンセルされました。</translation>
    </message>
    <message>
        <source>Settings for %1 have changed.
Do you want to reload the previous calibration settings?</source>
        <translation>%1 の設定が変更されています。
以前のキャリブレーション設定を読み込み直しますか?</translation>
    </message>
    <message>
        <source>%1 is not calibrated.&lt;br&gt;</source>
        <translation>%1 はキャリブレーションされていません。&lt;br&gt;</translation>
    </message>
    <message>
        <source>Calibration for %1 is currently set to off.&lt;br&gt;</source>
        <translation>%1 のキャリブレーションは現在オフに設定されています。&lt;br&gt;</translation>
    </message>
    <message>
        <source>No supported Orvane monitors were detected. Verify that a supported model of display monitor is connected. See the README file and Users Guide for more information.&lt;br&gt;</source>
        <translation>対応する Orvane のモニターが検出されませんでした。対応するモデルのディスプレイモニターが接続されていることを確認してください。詳しくは README ファイルとユーザーズガイドを参照してください。&lt;br&gt;</translation>
    </message>
    <message>
        <source>Version %1 (Build %2)</source>
        <comment>software version and build number</comment>
        <translation>バージョン %1 (ビルド %2)</translation>
    </message>
    <message>
        <source>Native</source>
        <translation>ネイティブ</translation>
    </message>
    <message>
        <source>x=%1 y=%2</source>
        <translation>x=%1 y=%2</translation>
    </message>
    <message>
        <source>Monitor Default</source>
        <comment>native contrast ratio text</comment>
        <translation>モニターの既定値</translation>
    </message>
    <message>
        <source>Maximum</source>
        <comment>target intensity maximum</comment>
        <translation>最大</translation>
    </message>
    <message>
        <source>DICOM</source>
        <translation>DICOM</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>sRGB</source>
        <translation>sRGB</translation>
    </message>
    <message>
        <source>NTSC SMPTE-170M</source>
        <translation>NTSC SMPTE-170M</translation>
    </message>
    <message>
        <source>NTSC/SMPTE-170M</source>
        <translation>NTSC/SMPTE-170M</translation>
    </message>
    <message>
        <source>SMPTE-240M</source>
        <translation>SMPTE-240M</translation>
    </message>
    <message>
        <source>Lstar</source>
        <translation>Lstar</translation>
    </message>
    <message>
        <source>L*</source>
        <translation>L*</translation>
    </message>
    <message>
        <source>Custom Curve</source>
        <translation>カスタムカーブ</translation>
    </message>
    <message>
        <source>fL</source>
        <comment>foot Lamberts units</comment>
        <translation>fL</translation>
    </message>
    <message>
        <source>Pelzora</source>
        <comment>STR_RES_ID_APPLICATION_NAME</comment>
        <translation>Pelzora</translation>
    </message>
    <message>
        <source>Target Files (*.tgt)</source>
        <comment>STR_RES_ID_TARGET_FILE_FILTER</comment>
        <translation>ターゲットファイル (*.tgt)</translation>
    </message>
    <message>
        <source>.tgt</source>
        <comment>STR_RES_ID_TARGET_FILE_EXTENSION</comment>
        <translation>.tgt</translation>
    </message>
    <message>
        <source>Open Target File</source>
        <comment>STR_RES_ID_OPEN_TARGET_FILE_DIALOG_TITLE</comment>
        <translation>ターゲットファイルを開く</translation>
    </message>
    <message>
        <source>Save Target File</source>
        <comment>STR_RES_ID_SAVE_TARGET_FILE_DIALOG_TITLE</comment>
        <translation>ターゲットファイルを保存</translation>
    </message>
    <message>
        <source>.mcs</source>
        <comment>STR_RES_ID_MCS_FILE_EXTENSION</comment>
        <translation>.mcs</translation>
    </message>
    <message>
        <source>/Targets/</source>
        <comment>STR_RES_ID_DEFAULT_TARGET_FILE_FOLDER_NAME</comment>
        <translation>/Targets/</translation>
    </message>
    <message>
        <source>/Calibration Settings/</source>
        <comment>STR_RES_ID_DEFAULT_MCS_FILE_FOLDER_NAME</comment>
        <translation>/Calibration Settings/</translation>
    </message>
    <message>
        <source>Orvane</source>
        <comment>STR_RES_ID_COMPANY_NAME</comment>
        <translation>Orvane</translation>
    </message>
    <message>
        <source>:/images/Resources/splashpz.png</source>
        <comment>STR_RES_ID_SPLASHSCREEN_FILE_NAME</comment>
        <translation>:/images/Resources/splashpz.png</translation>
    </message>
    <message>
        <source>None</source>
        <comment>STR_RES_ID_MONITOR_CONFIGURATION_MONITORS_NONE</comment>
        <translation>なし</translation>
    </message>
    <message>
        <source>.icc</source>
        <comment>STR_RES_ID_ICC_FILE_EXTENSION</comment>
        <translation>.icc</translation>
    </message>
    <message>
        <source>Unknown</source>
        <comment>STR_RES_ID_UNKNOWN_DISPLAY_NAME</comment>
        <translation>不明</translation>
    </message>
    <message>
        <source>Unknown Display</source>
        <comment>STR_RES_ID_UNKNOWN_DISPLAY_NAME_AND_DISPLAY</comment>
        <translation>不明なディスプレイ</translation>
    </message>
    <message>
        <source>Unknown Error #%1</source>
        <comment>STR_RES_ID_ERROR_UNKNOWN_ERROR</comment>
        <translation>不明なエラー #%1</translation>
    </message>
    <message>
        <source>Error: Unable to open file.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_OPEN_FILE</comment>
        <translation>エラー: ファイルを開けません。</translation>
    </message>
    <message>
        <source>Error: The file appears to be an invalid format.</source>
        <comment>STR_RES_ID_ERROR_INVALID_FILE_DATA</comment>
        <translation>エラー: ファイルの形式が無効なようです。</translation>
    </message>
    <message>
        <source>Error: The file appears to be an invalid version.</source>
        <comment>STR_RES_ID_ERROR_INVALID_FILE_VERSION</comment>
        <translation>エラー: ファイルのバージョンが無効なようです。</translation>
    </message>
    <message>
        <source>Error: Unable to save file.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_SAVE_FILE</comment>
        <translation>エラー: ファイルを保存できません。</translation>
    </message>
    <message>
        <source>No calibration sensor was detected. Please check that the device is properly connected and close any other application that may be currently using the device.&lt;br&gt;&lt;br&gt;Click the Auto-Detect button in the Preferences dialog to try and detect the device again.&lt;br&gt;&lt;br&gt;If the device is still not detected, try closing and restarting this application.</source>
        <comment>STR_RES_ID_ERROR_NO_SENSOR</comment>
        <translation>キャリブレーションセンサーが検出されませんでした。デバイスが正しく接続されていることを確認し、デバイスを使用している可能性のある他のアプリケーションを終了してください。&lt;br&gt;&lt;br&gt;環境設定ダイアログの「自動検出」ボタンをクリックすると、デバイスをもう一度検出します。&lt;br&gt;&lt;br&gt;それでもデバイスが検出されない場合は、このアプリケーションを終了して再起動してください。</translation>
    </message>
    <message>
        <source>No calibration sensor was detected. Please check that the device is properly connected and close any other application that may be currently using the device.&lt;br&gt;&lt;br&gt;Also try reconnecting the USB cable. If the sensor is still not detected try closing and restarting this application.&lt;br&gt;&lt;br&gt;Do you want to try and re-detect the calibration sensor?</source>
        <comment>STR_RES_ID_ERROR_NO_SENSOR_RETRY_DETECT</comment>
        <translation>キャリブレーションセンサーが検出されませんでした。デバイスが正しく接続されていることを確認し、デバイスを使用している可能性のある他のアプリケーションを終了してください。&lt;br&gt;&lt;br&gt;USB ケーブルを接続し直してみてください。それでもセンサーが検出されない場合は、このアプリケーションを終了して再起動してください。&lt;br&gt;&lt;br&gt;キャリブレーションセンサーをもう一度検出しますか?</translation>
    </message>
    <message>
        <source>Error: No supported monitor</source>
        <comment>STR_RES_ID_ERROR_NO_MONITOR</comment>
        <translation>エラー: 対応するモニターがありません</translation>
    </message>
    <message>
        <source>An error occurred while communicating with the calibration sensor.  Please make sure the device is properly connected and try again. It may be necessary to restart this application if the sensor was disconnected.</source>
        <comment>STR_RES_ID_ERROR_CANT_COMMUNICATE_WITH_SENSOR</comment>
        <translation>キャリブレーションセンサーとの通信中にエラーが発生しました。 デバイスが正しく接続されていることを確認して、もう一度やり直してください。センサーが取り外された場合は、このアプリケーションの再起動が必要になることがあります。</translation>
    </message>
    <message>
        <source>Error: The color measured appears to be invalid. Please make sure the calibration sensor is properly located on the screen and try again.</source>
        <comment>STR_RES_ID_ERROR_INVALID_COLOR_MEASUREMENT</comment>
        <translation>エラー: 測定した色が無効なようです。キャリブレーションセンサーが画面上の正しい位置にあることを確認して、もう一度やり直してください。</translation>
    </message>
    <message>
        <source>Error: An error occurred while zero calibrating the calibration sensor. Make sure no light is reaching the sensor and try again.</source>
        <comment>STR_RES_ID_ERROR_ERROR_ZERO_CALIBRATING_SENSOR</comment>
        <translation>エラー: キャリブレーションセンサーのゼロキャリブレーション中にエラーが発生しました。センサーに光が入らないようにして、もう一度やり直してください。</translation>
    </message>
    <message>
        <source>Error: An error occurred while adjusting the white point.</source>
        <comment>STR_RES_ID_ERROR_WHITE_POINT_ADJUSTMENT_FAILED</comment>
        <translation>エラー: 白色点の調整中にエラーが発生しました。</translation>
    </message>
    <message>
        <source>Error: An error occurred while adjusting the display intensity.</source>
        <comment>STR_RES_ID_ERROR_LUMINANCE_ADJUSTMENT_FAILED</comment>
        <translation>エラー: ディスプレイの輝度の調整中にエラーが発生しました。</translation>
    </message>
    <message>
        <source>Error: Unable to save the ICC profile.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_CREATE_ICC_PROFILE</comment>
        <translation>エラー: ICC プロファイルを保存できません。</translation>
    </message>
    <message>
        <source>Error: Unable to calculate the display correction LUT.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_CREATE_CORRECTION_CURVES (should never see)</comment>
        <translation>エラー: ディスプレイ補正 LUT を計算できません。</translation>
    </message>
    <message>
        <source>Error: An error occurred while creating the display profile.
</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_SAVE_ICC_PROFILE</comment>
        <translation>エラー: ディスプレイプロファイルの作成中にエラーが発生しました。
</translation>
    </message>
    <message>
        <source>Error: Unable to associate ICC profile with display.
</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_SET_SYSTEM_PROFILE</comment>
        <translation>エラー: ICC プロファイルをディスプレイに関連付けられません。
</translation>
    </message>
    <message>
        <source>Error: Unable to update the ICC profile &lt;b&gt;%1&lt;/b&gt; because the existing file is locked or you do not have the necessary access privileges. &lt;br&gt;&lt;br&gt;Close the Windows Display Properties window if it is currently open. Navigate to the file in Windows Explorer and either delete the file, or use the &apos;Properties&apos; command in to unlock the file.</source>
        <comment>STR_RES_ERROR_UNABLE_TO_CREATE_ICC_PROFILE_FILE_IN_USE</comment>
        <translation>エラー: 既存のファイルがロックされているか、必要なアクセス権限がないため、ICC プロファイル &lt;b&gt;%1&lt;/b&gt; を更新できません。 &lt;br&gt;&lt;br&gt;Windows の画面のプロパティが開いている場合は閉じてください。Windows エクスプローラーでファイルを表示し、ファイルを削除するか、「プロパティ」コマンドを使ってファイルのロックを解除してください。</translation>
    </message>
    <message>
        <source>Error %1: An error occurred while communicating with the display monitor.&lt;br&gt;&lt;br&gt;Please retry the last operation.&lt;br&gt;&lt;br&gt;If this problem continues, please check the README file included with the software and Orvane website for any specific compatibility issues with your hardware configuration.</source>
        <comment>STR_RES_ID_ERROR_COMMUNICATING_WITH_MONITOR</comment>
        <translation>エラー %1: ディスプレイモニターとの通信中にエラーが発生しました。&lt;br&gt;&lt;br&gt;直前の操作をもう一度やり直してください。&lt;br&gt;&lt;br&gt;問題が解決しない場合は、ソフトウェアに付属の README ファイルと Orvane の Web サイトで、お使いのハードウェア構成に固有の互換性の問題がないか確認してください。</translation>
    </message>
    <message>
        <source>An error occurred while restoring the monitor settings.</source>
        <comment>STR_RES_ID_ERROR_RESTORING_SETTINGS</comment>
        <translation>モニター設定の復元中にエラーが発生しました。</translation>
    </message>
    <message>
        <source>One or more displays are currently not calibrated. Click OK to Exit or Cancel to return.</source>
        <comment>STR_RES_ID_ERROR_NOT_ALL_DISPLAYS_CALIBRATED</comment>
        <translation>キャリブレーションされていないディスプレイがあります。終了するには OK を、戻るにはキャンセルをクリックしてください。</translation>
    </message>
    <message>
        <source>Error: File contains more than 256 data points.</source>
        <comment>STR_RES_ID_ERROR_FILE_CONTAINS_TOO_MANY_POINTS</comment>
        <translation>エラー: ファイルに含まれるデータ点が 256 個を超えています。</translation>
    </message>
    <message>
        <source>Error: File contains invalid data.</source>
        <comment>STR_RES_ID_ERROR_FILE_CONTAINS_INVALID_DATA</comment>
        <translation>エラー: ファイルに無効なデータが含まれています。</translation>
    </message>
    <message>
        <source>Error: File does not contain enough data points.</source>
        <comment>STR_RES_ID_ERROR_FILE_DOESNT_CONTAIN_ENOUGH_POINTS</comment>
        <translation>エラー: ファイルに含まれるデータ点が足りません。</translation>
    </message>
    <message>
        <source>Error: Data points are not monotonic.</source>
        <comment>STR_RES_ID_ERROR_FILE_DATA_IS_NOT_MONOTONIC</comment>
        <translation>エラー: データ点が単調ではありません。</translation>
    </message>
    <message>
        <source>Warning! The display is not currently in a calibrated state.</source>
        <comment>STR_RES_ID_ERROR_DISPLAY_NOT_CALIBRATED</comment>
        <translation>警告: ディスプレイは現在キャリブレーションされた状態ではありません。</translation>
    </message>
    <message>
        <source>The instrument dial is not set to the correct position. Please check the dial position.
</source>
        <comment>STR_RES_ID_ERROR_SENSOR_SET_TO_WRONG_SETTING</comment>
        <translation>測定器のダイヤルが正しい位置に設定されていません。ダイヤルの位置を確認してください。
</translation>
    </message>
    <message>
        <source>The current user does not have file write permissions to the default ICC Color Profile storage location:&lt;br&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;br&gt;&lt;br&gt;The ICC Color Profile will not be generated. &lt;br&gt;&lt;br&gt;The default ICC Color Profile storage location can be changed in the Preferences dialog.&lt;br&gt;&lt;br&gt;Do you want to proceed anyway?</source>
        <comment>STR_RES_ICC_PROFILE_PERMISSIONS_WARNING</comment>
        <translation>現在のユーザーには、ICC カラープロファイルの既定の保存場所へのファイル書き込み権限がありません:&lt;br&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;br&gt;&lt;br&gt;ICC カラープロファイルは生成されません。 &lt;br&gt;&lt;br&gt;ICC カラープロファイルの既定の保存場所は、環境設定ダイアログで変更できます。&lt;br&gt;&lt;br&gt;このまま続行しますか?</translation>
    </message>
    <message>
        <source>The Visual Match patch color has been adjusted but has not yet been measured. Do you want to measure it now so the custom White Point will be updated?</source>
        <comment>STR_RES_ID_CUSTOM_WHITE_POINT_NOT_MEASURED_QUESTION</comment>
        <translation>目視合わせのパッチの色は調整されていますが、まだ測定されていません。カスタム白色点を更新するために、今すぐ測定しますか?</translation>
    </message>
    <message>
        <source>The white point coordinates entered are outside the normal range of values and may &lt;u&gt;cause the calibration to fail&lt;/u&gt;. Are you sure you want to use these values?</source>
        <comment>STR_RES_ID_CUSTOM_WHITE_POINT_OUT_OF_RANGE</comment>
        <translation>入力された白色点の座標は通常の範囲外のため、&lt;u&gt;キャリブレーションが失敗する&lt;/u&gt;おそれがあります。この値を使用してもよろしいですか?</translation>
    </message>
    <message>
        <source>Would you like use the measured intensity of %1 as the Intensity value for this Target?</source>
        <comment>STR_RES_ID_CUSTOM_WHITE_POINT_USE_MEASURED_LUMINANCE_VALUE</comment>
        <translation>測定した輝度 %1 をこのターゲットの輝度の値として使用しますか?</translation>
    </message>
    <message>
        <source>This will reset all Preferences to default values. Continue?</source>
        <comment>STR_RES_ID_WILL_RESET_ALL_PREFERENCES_WARNING</comment>
        <translation>すべての環境設定を初期値に戻します。続行しますか?</translation>
    </message>
    <message>
        <source>White Point Delta E: %1&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_WHITEPOINT_DELTA_E</comment>
        <translation>白色点のデルタE: %1&lt;br&gt;</translation>
    </message>
    <message>
        <source>Average Grayscale Delta E: %1&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_AVERAGE_DELTA_E</comment>
        <translation>グレースケールの平均デルタE: %1&lt;br&gt;</translation>
    </message>
    <message>
        <source>Maximum Grayscale Delta E: %1&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_MAXIMUM_DELTA_E</comment>
        <translation>グレースケールの最大デルタE: %1&lt;br&gt;</translation>
    </message>
    <message>
        <source>&lt;br&gt;Recalibration is not necessary</source>
        <comment>STR_RES_ID_VERIFICATION_RECALIBRATION_NOT_NECESSARY</comment>
        <translation>&lt;br&gt;再キャリブレーションの必要はありません</translation>
    </message>
    <message>
        <source>&lt;br&gt;Recalibration may be necessary&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_RECALIBRATION_RECOMMENDED</comment>
        <translation>&lt;br&gt;再キャリブレーションが必要な可能性があります&lt;br&gt;</translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;b&gt;Recalibration is highly recommended&lt;/b&gt;&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_RECALIBRATION_IS_NECESSARY</comment>
        <translation>&lt;br&gt;&lt;b&gt;再キャリブレーションを強くお勧めします&lt;/b&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>Error: Verification failed.&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_FAILED_ERROR</comment>
        <translation>エラー: 検証に失敗しました。&lt;br&gt;</translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Note: Many factors such as sensor positioning, measurement tolerances and repeatability can contribute to the validation result being out of tolerance compared to the current Target.&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_CAUTION_MESSAGE</comment>
        <translation>&lt;br&gt;&lt;br&gt;注: センサーの位置、測定の許容誤差、再現性など多くの要因により、検証結果が現在のターゲットに対して許容範囲外になることがあります。&lt;br&gt;</translation>
    </message>
    <message>
        <source>Maximum DICOM Contrast Response error: %1% at JND index %2&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_DICOM_MAXIMUM_ERROR</comment>
        <translation>DICOM コントラスト応答の最大誤差: %1% (JND インデックス %2)&lt;br&gt;</translation>
    </message>
    <message>
        <source>Monitor is about to be reset. The screen will go blank for a few seconds.</source>
        <comment>STR_RES_ID_MONITOR_ABOUT_TO_BE_RESET_WARNING</comment>
        <translation>モニターをリセットします。数秒間、画面が消えます。</translation>
    </message>
    <message>
        <source>Unable to communicate with any supported display monitors. Please verify that your system is supported and confirm that Display Configuration is correct by selecting &lt;i&gt;&lt;b&gt;Display Configuration&lt;/b&gt;&lt;/i&gt; from the &lt;i&gt;&lt;b&gt;Edit&lt;/b&gt;&lt;/i&gt; menu. See the README file and Users Guide for more information.&lt;br&gt;</source>
        <comment>STR_RES_ID_ERROR_CANT_COMMUNICATE_WITH_SUPPORTED_MONITOR_WINDOWS</comment>
        <translation>対応するディスプレイモニターと通信できません。お使いのシステムが対応していることを確認し、&lt;i&gt;&lt;b&gt;編集&lt;/b&gt;&lt;/i&gt;メニューから&lt;i&gt;&lt;b&gt;ディスプレイ構成&lt;/b&gt;&lt;/i&gt;を選択して、ディスプレイ構成が正しいことを確認してください。詳しくは README ファイルとユーザーズガイドを参照してください。&lt;br&gt;</translation>
    </message>
    <message>
        <source>Unable to communicate with any supported display monitors. Please verify that your system is supported. See the README file and Users Guide for more information.&lt;br&gt;</source>
        <comment>STR_RES_ID_ERROR_CANT_COMMUNICATE_WITH_SUPPORTED_MONITOR_MAC</comment>
        <translation>対応するディスプレイモニターと通信できません。お使いのシステムが対応していることを確認してください。詳しくは README ファイルとユーザーズガイドを参照してください。&lt;br&gt;</translation>
    </message>
    <message>
        <source>Error: The file name &lt;b&gt;%1&lt;/b&gt; is reserved. Please enter a different file name.</source>
        <comment>STR_RES_ID_ERROR_RESERVED_FILE_NAME</comment>
        <translation>エラー: ファイル名 &lt;b&gt;%1&lt;/b&gt; は予約されています。別のファイル名を入力してください。</translation>
    </message>
    <message>
        <source>The measured luminance is not stable. Please allow the display more time to warm up and try again.</source>
        <comment>STR_RES_ID_ERROR_LUMINANCE_UNSTABLE</comment>
        <translation>測定した輝度が安定していません。ディスプレイのウォームアップの時間をもっと長くとってから、もう一度やり直してください。</translation>
    </message>
    <message>
        <source>Error: Unable to locate the Calibration Sensor definition files</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_LOCATE_SENSOR_DEFINITION_FILES</comment>
        <translation>エラー: キャリブレーションセンサーの定義ファイルが見つかりません</translation>
    </message>
    <message>
        <source>Digital Cinema</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DIGITAL_CINEMA</comment>
        <translation>デジタルシネマ</translation>
    </message>
    <message>
        <source>DICOM Clear</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_CLEAR</comment>
        <translation>DICOM クリア</translation>
    </message>
    <message>
        <source>DICOM Blue</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_BLUE</comment>
        <translation>DICOM ブルー</translation>
    </message>
    <message>
        <source>Broadcast Video</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_BROADCAST_VIDEO</comment>
        <translation>放送用ビデオ</translation>
    </message>
    <message>
        <source>Print Standard</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_PRINT_STANDARD</comment>
        <translation>印刷標準</translation>
    </message>
    <message>
        <source>Photo Editing</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_PHOTO_EDITING</comment>
        <translation>写真編集</translation>
    </message>
    <message>
        <source>sRGB Emulation</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_sRGB_EMULATION</comment>
        <translation>sRGB エミュレーション</translation>
    </message>
    <message>
        <source>DICOM Clear (2009)</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_CLEAR_2009</comment>
        <translation>DICOM クリア (2009)</translation>
    </message>
    <message>
        <source>DICOM Blue (2009)</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_BLUE_2009</comment>
        <translation>DICOM ブルー (2009)</translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Uncalibrated&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_STATUS_NOT_CALIBRATED</comment>
        <translation>&lt;font COLOR=red&gt;未キャリブレーション&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=green&gt;Calibrated&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_STATUS_CALIBRATION_ON</comment>
        <translation>&lt;font COLOR=green&gt;キャリブレーション済み&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Calibration Off&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_STATUS_CALIBRATION_OFF</comment>
        <translation>&lt;font COLOR=red&gt;キャリブレーションオフ&lt;/font&gt;</translation>
    </message>
    <message>
        <source> (Unsupported)</source>
        <comment>added to monitor name if not supported model</comment>
        <translation> (未対応)</translation>
    </message>
    <message>
        <source> (No Communications)</source>
        <comment>added to monitor name if no DDC/CI (no capability string read)</comment>
        <translation> (通信なし)</translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Unknown&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_LAST_CALIBRATED_UNKNOWN</comment>
        <translation>&lt;font COLOR=red&gt;不明&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;1 day ago&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_1_DAY_AGO</comment>
        <translation>&lt;font COLOR=red&gt;1 日前&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;%1 days ago&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_N_DAYS_AGO</comment>
        <translation>&lt;font COLOR=red&gt;%1 日前&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=green&gt;In %1 days&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_IN_N_DAYS</comment>
        <translation>&lt;font COLOR=green&gt;%1 日後&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=green&gt;Tomorrow&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_TOMORROW</comment>
        <translation>&lt;font COLOR=green&gt;明日&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Today&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_TODAY</comment>
        <translation>&lt;font COLOR=red&gt;今日&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Now&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_NOW</comment>
        <translation>&lt;font COLOR=red&gt;今すぐ&lt;/font&gt;</translation>
    </message>
    <message>
        <source>N/A</source>
        <comment>STR_RES_ID_NA</comment>
        <translation>該当なし</translation>
    </message>
    <message>
        <source>Information: </source>
        <comment>title of information window</comment>
        <translation>情報: </translation>
    </message>
    <message>
        <source>Display %1 - %2</source>
        <comment>display list string. %1 is display number, %2 is model name</comment>
        <translation>ディスプレイ %1 - %2</translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>STR_RES_ID_YES</comment>
        <translation>はい</translation>
    </message>
    <message>
        <source>No</source>
        <comment>STR_RES_ID_NO</comment>
        <translation>いいえ</translation>
    </message>
    <message>
        <source>%1 hours usage</source>
        <comment>STR_RES_ID_CURRENT_MONITOR_HOURS</comment>
        <translation>使用時間 %1 時間</translation>
    </message>
    <message>
        <source>%1 hours usage ago</source>
        <comment>STR_RES_ID_CURRENT_MONITOR_HOURS_SINCE_CALIBRATION</comment>
        <translation>使用時間 %1 時間前</translation>
    </message>
    <message>
        <source>%1 is %2 days past calibration. Recalibration is recommended.&lt;br&gt;</source>
        <comment>STR_RES_ID_WARNING_DISPLAY_IS_PAST_CALIBRATION_DATE</comment>
        <translation>%1 はキャリブレーション期限を %2 日過ぎています。再キャリブレーションをお勧めします。&lt;br&gt;</translation>
    </message>
    <message>
        <source>%1 is %2 day past calibration. Recalibration is recommended.&lt;br&gt;</source>
        <comment>STR_RES_ID_WARNING_DISPLAY_IS_PAST_CALIBRATION_DATE</comment>
        <translation>%1 はキャリブレーション期限を %2 日過ぎています。再キャリブレーションをお勧めします。&lt;br&gt;</translation>
    </message>
    <message>
        <source>Closes in %1 second</source>
        <comment>STR_RES_ID_MESSAGE_BOX_MESSAGE_CLOSSES_IN_1_SECOND</comment>
        <translation>%1 秒後に閉じます</translation>
    </message>
    <message>
        <source>Closes in %1 seconds</source>
        <comment>STR_RES_ID_MESSAGE_BOX_MESSAGE_CLOSSES_IN_X_SECONDS</comment>
        <translation>%1 秒後に閉じます</translation>
    </message>
    <message>
        <source>The last calibration for this Target was performed %1 days ago.
The recommended re-calibration date was %2 days ago.
The monitor calibration may have changed since this file was created.
Do you want to continue to load it?</source>
        <comment>STR_RES_ID_ASK_LOAD_OLD_MCS_FILE</comment>
        <translation>このターゲットの前回のキャリブレーションは %1 日前に行われました。
推奨される再キャリブレーション日は %2 日前でした。
このファイルの作成後にモニターのキャリブレーションが変化している可能性があります。
読み込みを続けますか?</translation>
    </message>
    <message>
        <source>Restoring settings for %1...</source>
        <comment>STR_PROGRESS_RESTORING_SETTINGS</comment>
        <translation>%1 の設定を復元しています...</translation>
    </message>
    <message>
        <source>Verifying settings for %1...</source>
        <comment>STR_RES_ID_PROGRESS_READING_SETTINGS</comment>
        <translation>%1 の設定を確認しています...</translation>
    </message>
    <message>
        <source>&lt;font COLOR=&quot;#ff0000&quot;&gt;Taking Measurement...&lt;/font&gt;</source>
        <comment>STR_RES_ID_MESSAGE_SENSOR_TAKING_MEASUREMENT</comment>
        <translation>&lt;font COLOR=&quot;#ff0000&quot;&gt;測定しています...&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;The &lt;b&gt;Spyder3Utility&lt;/b&gt; application for the Datacolor Spyder3 is currently running. This can cause system instability when this application is using the sensor.&lt;br&gt;It is recommended to close the Spyder3Utility while using Pelzora.&lt;br&gt;&lt;br&gt;Would you like to automatically close the Spyder3Utility application now?&lt;/html&gt;</source>
        <comment>STR_RES_ID_ASK_CLOSE_SPYDER_UTILITY</comment>
        <translation>&lt;html&gt;Datacolor Spyder3 用の &lt;b&gt;Spyder3Utility&lt;/b&gt; アプリケーションが実行中です。このアプリケーションがセンサーを使用しているときに、システムが不安定になるおそれがあります。&lt;br&gt;Pelzora の使用中は Spyder3Utility を終了することをお勧めします。&lt;br&gt;&lt;br&gt;Spyder3Utility アプリケーションを今すぐ自動的に終了しますか?&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;The &lt;b&gt;X-Rite Colormunki&lt;/b&gt; service is currently running. This service may prevent this application from being able to use the Colormunki the sensor.&lt;br&gt;&lt;br&gt;Would you like to automatically close the Colormunki service now?&lt;/html&gt;</source>
        <comment>STR_RES_ID_ASK_CLOSE_COLORMUNKI_SERVICE</comment>
        <translation>&lt;html&gt;&lt;b&gt;X-Rite Colormunki&lt;/b&gt; サービスが実行中です。このサービスのために、このアプリケーションが Colormunki センサーを使用できないことがあります。&lt;br&gt;&lt;br&gt;Colormunki サービスを今すぐ自動的に終了しますか?&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;The &lt;b&gt;X-Rite i1ProfilerTray&lt;/b&gt; application is currently running. This application may prevent Pelzora from being able to use the i1Display Pro or Pelzsensor Pro calibration sensors.&lt;br&gt;&lt;br&gt;Would you like to automatically close the i1ProfilerTray applicaton now?&lt;/html&gt;</source>
        <comment>STR_RES_ID_ASK_CLOSE_I1PROFILERTRAY</comment>
        <translation>&lt;html&gt;&lt;b&gt;X-Rite i1ProfilerTray&lt;/b&gt; アプリケーションが実行中です。このアプリケーションのために、Pelzora が i1Display Pro または Pelzsensor Pro キャリブレーションセンサーを使用できないことがあります。&lt;br&gt;&lt;br&gt;i1ProfilerTray アプリケーションを今すぐ自動的に終了しますか?&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Calibration complete</source>
        <comment>STR_RES_ID_MESSAGE_CALIBRATION_COMPLETE</comment>
        <translation>キャリブレーションが完了しました</translation>
    </message>
    <message>
        <source>ICC profile created</source>
        <comment>STR_RES_ID_MESSAGE_ICC_PROFILE_CREATED</comment>
        <translation>ICC プロファイルを作成しました</translation>
    </message>
    <message>
        <source>ICC profile selected in Color Management System</source>
        <comment>STR_RES_ID_MESSAGE_ICC_PROFILE_ASSIGNED</comment>
        <translation>カラーマネジメントシステムで ICC プロファイルを選択しました</translation>
    </message>
    <message>
        <source>The calibration sensor needs to be zero calibrated.&lt;br&gt;&lt;br&gt;</source>
        <comment>STR_RES_ID_MESSAGE_SENSOR_NEEDS_ZERO_CALIBRATION</comment>
        <translation>キャリブレーションセンサーのゼロキャリブレーションが必要です。&lt;br&gt;&lt;br&gt;</translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Click &lt;b&gt;Next&lt;/b&gt; when complete.</source>
        <comment>STR_RES_ID_MESSAGE_CLICK_NEXT_WHEN_COMPLETE</comment>
        <translation>&lt;br&gt;&lt;br&gt;完了したら&lt;b&gt;次へ&lt;/b&gt;をクリックしてください。</translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Click &lt;b&gt;OK&lt;/b&gt; when complete.</source>
        <comment>STR_RES_ID_MESSAGE_CLICK_OK_WHEN_COMPLETE</comment>
        <translation>&lt;br&gt;&lt;br&gt;完了したら&lt;b&gt;OK&lt;/b&gt;をクリックしてください。</translation>
    </message>
    <message>
        <source>Target Intensity of %1 could not be achieved with the current settings. Choose an Intensity value below %2.</source>
        <comment>STR_RES_ID_MESSAGE_TARGET_INTENSITY_NOT_ACHIEVED</comment>
        <translation>現在の設定ではターゲットの輝度 %1 を実現できませんでした。%2 より低い輝度の値を選択してください。</translation>
    </message>
    <message>
        <source>The display monitor has not yet been powered on continuously for at least 30 minutes and may not yet be fully warmed up and stabilized. The accuracy of the calibration may be reduced.</source>
        <comment>STR_RES_ID_MESSAGE_MONITOR_NOT_WARMED_UP</comment>
        <translation>ディスプレイモニターの連続通電時間がまだ 30 分に達していないため、十分にウォームアップして安定していない可能性があります。キャリブレーションの精度が低下することがあります。</translation>
    </message>
    <message>
        <source>Off</source>
        <comment>STR_RES_ID_AUTO_LUMINANCE_NOT_USED</comment>
        <translation>オフ</translation>
    </message>
    <message>
        <source>On</source>
        <comment>STR_RES_ID_AUTO_LUMINANCE_USED</comment>
        <translation>オン</translation>
    </message>
    <message>
        <source>Calibration Sensor</source>
        <comment>STR_RES_ID_PRIMARY_COLOR_SOURCE_SENSOR</comment>
        <translation>キャリブレーションセンサー</translation>
    </message>
    <message>
        <source>Factory Measurements</source>
        <comment>STR_RES_ID_PRIMARY_COLOR_SOURCE_FACTORY</comment>
        <translation>工場での測定値</translation>
    </message>
    <message>
        <source>Native (Full)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_NATIVE</comment>
        <translation>ネイティブ (フル)</translation>
    </message>
    <message>
        <source>Custom</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_CUSTOM</comment>
        <translation>カスタム</translation>
    </message>
    <message>
        <source>sRGB</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_sRGB</comment>
        <translation>sRGB</translation>
    </message>
    <message>
        <source>AdobeRGB</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_AdobeRGB</comment>
        <translation>AdobeRGB</translation>
    </message>
    <message>
        <source>EBU/ITU (PAL/SECAM)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_EBU_ITU</comment>
        <translation>EBU/ITU (PAL/SECAM)</translation>
    </message>
    <message>
        <source>SMPTE-C</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_SMPTE_C</comment>
        <translation>SMPTE-C</translation>
    </message>
    <message>
        <source>DCI</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_DCI</comment>
        <translation>DCI</translation>
    </message>
    <message>
        <source>ECI/NTSC(1953)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_ECI_NTSC</comment>
        <translation>ECI/NTSC(1953)</translation>
    </message>
    <message>
        <source>ColorMatch (P22-EBU)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_ColorMatch</comment>
        <translation>ColorMatch (P22-EBU)</translation>
    </message>
    <message>
        <source>CRT Display</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_CRT</comment>
        <translation>CRT ディスプレイ</translation>
    </message>
    <message>
        <source>Missing message text</source>
        <comment>default text should never see this</comment>
        <translation>メッセージテキストがありません</translation>
    </message>
    <message>
        <source>%1 %2.%3.%4</source>
        <comment>operating system name and version</comment>
        <translation>%1 %2.%3.%4</translation>
    </message>
    <message>
        <source>Target Name</source>
        <translation>ターゲット名</translation>
    </message>
    <message>
        <source>Calibration Date</source>
        <translation>キャリブレーション日時</translation>
    </message>
    <message>
        <source>X-Rite ColorMunki</source>
        <comment>XRite Colormunki name</comment>
        <translation>X-Rite ColorMunki</translation>
    </message>
    <message>
        <source>Take the device out of the holder bag to uncover the the ambient light sensor and direct it away from the display.</source>
        <comment>XRite Colormunki message</comment>
        <translation>デバイスをホルダーバッグから取り出して環境光センサーを露出させ、ディスプレイとは反対の方向に向けてください。</translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Turn the instrument dial to the position indicated.</source>
        <comment>XRite Colormunki message</comment>
        <translation>&lt;br&gt;&lt;br&gt;測定器のダイヤルを図の位置に回してください。</translation>
    </message>
    <message>
        <source>Turn the instrument dial to the calibrate position.</source>
        <comment>XRite Colormunki message</comment>
        <translation>測定器のダイヤルをキャリブレーションの位置に回してください。</translation>
    </message>
    <message>
        <source>Position the calibration sensor as shown in the center of the screen.</source>
        <comment>ColorVision Spyder message</comment>
        <translation>図のように、キャリブレーションセンサーを画面の中央に置いてください。</translation>
    </message>
    <message>
        <source>Place the calibration sensor in the center of the display screen with the white diffuser is pointing away from the display.</source>
        <comment>eye one display3 sensor ambient positioning message</comment>
        <translation>白いディフューザーがディスプレイとは反対を向くようにして、キャリブレーションセンサーをディスプレイ画面の中央に置いてください。</translation>
    </message>
    <message>
        <source>Turn the sensor in the housing as shown so the lens is exposed.</source>
        <translation>図のようにハウジング内のセンサーを回して、レンズを露出させてください。</translation>
    </message>
    <message>
        <source>&lt;html&gt;Turn the sensor housing as shown so the lens is exposed.&lt;br&gt;&lt;br&gt;&lt;center&gt;&lt;img src=&quot;:/images/Resources/i1d3 rotate to emissive.png&quot;&gt;&lt;/center&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;図のようにセンサーのハウジングを回して、レンズを露出させてください。&lt;br&gt;&lt;br&gt;&lt;center&gt;&lt;img src=&quot;:/images/Resources/i1d3 rotate to emissive.png&quot;&gt;&lt;/center&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Turn the sensor housing as shown so the diffuser covers the lens.&lt;br&gt;&lt;br&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;図のようにセンサーのハウジングを回して、ディフューザーでレンズを覆ってください。&lt;br&gt;&lt;br&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Attach the white plastic diffuser to the sensor as shown and direct the sensor away from the display.</source>
        <comment>eye one display sensor ambient positioning message</comment>
        <translation>図のように白いプラスチック製ディフューザーをセンサーに取り付け、センサーをディスプレイとは反対の方向に向けてください。</translation>
    </message>
    <message>
        <source>Place the device on a flat surface so that light cannot reach the sensor.</source>
        <comment>eye one display sensor zero calibration message</comment>
        <translation>光がセンサーに入らないように、デバイスを平らな面に置いてください。</translation>
    </message>
    <message>
        <source>&lt;html&gt;Detach the white plastic diffuser from the sensor before taking any measurements.&lt;br&gt;&lt;br&gt;&lt;center&gt;&lt;img src=&quot;:/images/Resources/ione cover removal.png&quot;&gt;&lt;/center&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;測定を行う前に、白いプラスチック製ディフューザーをセンサーから取り外してください。&lt;br&gt;&lt;br&gt;&lt;center&gt;&lt;img src=&quot;:/images/Resources/ione cover removal.png&quot;&gt;&lt;/center&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>X-Rite EyeOne</source>
        <comment>XRite EyeOnePro name</comment>
        <translation>X-Rite EyeOne</translation>
    </message>
    <message>
        <source>Remove the cap and direct the sensor away from the display.</source>
        <comment>XRite EyeOnePro message</comment>
        <translation>キャップを外し、センサーをディスプレイとは反対の方向に向けてください。</translation>
    </message>
    <message>
        <source>Place the calibration sensor on the base holder as shown.</source>
        <comment>XRite EyeOnePro message</comment>
        <translation>図のように、キャリブレーションセンサーをベースホルダーに置いてください。</translation>
    </message>
    <message>
        <source>Attach the ambient light diffuser and cap to the sensor as shown.</source>
        <comment>XRite EyeOnePro message</comment>
        <translation>図のように、環境光ディフューザーとキャップをセンサーに取り付けてください。</translation>
    </message>
</context>
<context>
    <name>ReportPanel</name>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Delta E (CIE94)</source>
        <comment>graph x axis</comment>
        <translation>デルタE (CIE94)</translation>
    </message>
    <message>
        <source>Output Luminance</source>
        <comment>graph y axis</comment>
        <translation>出力輝度</translation>
    </message>
    <message>
        <source>Input Level</source>
        <comment>graph x axis</comment>
        <translation>入力レベル</translation>
    </message>
    <message>
        <source>CIE 1976 u&apos;v&apos;</source>
        <translation>CIE 1976 u&apos;v&apos;</translation>
    </message>
    <message>
        <source>CIE 1931 xy</source>
        <translation>CIE 1931 xy</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>at JND Index %1</source>
        <translation>JND インデックス %1</translation>
    </message>
</context>
<context>
    <name>mainWindow</name>
    <message>
        <source>Pelzora</source>
        <translation>Pelzora</translation>
    </message>
    <message>
        <source>Target Settings</source>
        <translation>ターゲット設定</translation>
    </message>
    <message>
        <source>&lt;html&gt;Calibration Target presets&lt;/html&gt;</source>
        <translation>&lt;html&gt;キャリブレーションターゲットのプリセット&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Edit the Target settings&lt;/html&gt;</source>
        <translation>&lt;html&gt;ターゲット設定を編集します&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Open an existing Target file&lt;/html&gt;</source>
        <translation>&lt;html&gt;既存のターゲットファイルを開きます&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Save the current Target to a file&lt;/html&gt;</source>
        <translation>&lt;html&gt;現在のターゲットをファイルに保存します&lt;/html&gt;</translation>
    </message>
    <message>
        <source>White Point:</source>
        <translation>白色点:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Desired Target White Point&lt;/html&gt;</source>
        <translation>&lt;html&gt;目標とする白色点&lt;/html&gt;</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Gamma:</source>
        <translation>ガンマ:</translation>
    </message>
    <message>
        <source>Intensity:</source>
        <translation>輝度:</translation>
    </message>
    <message>
        <source>Contrast Ratio:</source>
        <translation>コントラスト比:</translation>
    </message>
    <message>
        <source>Color Gamut:</source>
        <translation>色域:</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>キャリブレーション</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>状態:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Status of the display calibration&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイのキャリブレーション状態&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Last:</source>
        <translation>前回:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Date and time of last calibration&lt;/html&gt;</source>
        <translation>&lt;html&gt;前回のキャリブレーションの日時&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Next Due:</source>
        <translation>次回予定:</translation>
    </message>
    <message>
        <source>&lt;html&gt;Turns calibration On and Off.&lt;br&gt;Locks or Unlocks the monitor controls (if selected in Preferences).&lt;/html&gt;</source>
        <translation>&lt;html&gt;キャリブレーションのオンとオフを切り替えます。&lt;br&gt;モニターの操作をロックまたはロック解除します (環境設定で選択している場合)。&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Calibration On</source>
        <translation>キャリブレーションオン</translation>
    </message>
    <message>
        <source>&lt;html&gt;Starts the display calibration process&lt;/html&gt;</source>
        <translation>&lt;html&gt;ディスプレイのキャリブレーションを開始します&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>キャリブレーション</translation>
    </message>
    <message>
        <source>&lt;html&gt;Open and load previous Monitor Calibration&lt;/html&gt;</source>
        <translation>&lt;html&gt;以前のモニターキャリブレーションを開いて読み込みます&lt;/html&gt;</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>ディスプレイ</translation>
    </message>
    <message>
        <source>&lt;html&gt;Selects display to calibrate&lt;/html&gt;</source>
        <translation>&lt;html&gt;キャリブレーションするディスプレイを選択します&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;Change the current display configuration&lt;/html&gt;</source>
        <translation>&lt;html&gt;現在のディスプレイ構成を変更します&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>ツール(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Open Target...</source>
        <translation>ターゲットを開く(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Save Target As...</source>
        <translation>ターゲットに名前を付けて保存(&amp;S)...</translation>
    </message>
    <message>
        <source>&amp;Calibrate...</source>
        <translation>キャリブレーション(&amp;C)...</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>&amp;Generate ICC Profile...</source>
        <translation>ICC プロファイルの生成(&amp;G)...</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>&amp;Validate Calibration...</source>
        <translation>キャリブレーションの検証(&amp;V)...</translation>
    </message>
    <message>
        <source>Ctrl+V</source>
        <translation>Ctrl+V</translation>
    </message>
    <message>
        <source>Open &amp;Previous Calibration...</source>
        <translation>以前のキャリブレーションを開く(&amp;P)...</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation>環境設定(&amp;P)...</translation>
    </message>
    <message>
        <source>&amp;Display Configuration...</source>
        <translation>ディスプレイ構成(&amp;D)...</translation>
    </message>
    <message>
        <source>&amp;Target...</source>
        <translation>ターゲット(&amp;T)...</translation>
    </message>
    <message>
        <source>&amp;Information Window</source>
        <translation>情報ウィンドウ(&amp;I)</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>&amp;Colorimeter Window...</source>
        <translation>測色ウィンドウ(&amp;C)...</translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation>Ctrl+L</translation>
    </message>
    <message>
        <source>&amp;Test Pattern</source>
        <translation>テストパターン(&amp;T)</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>&amp;Ambient Light Measurement...</source>
        <translation>環境光の測定(&amp;A)...</translation>
    </message>
    <message>
        <source>Ambient Light Measurement...</source>
        <translation>環境光の測定...</translation>
    </message>
    <message>
        <source>&amp;Monitor Settings...</source>
        <translation>モニター設定(&amp;M)...</translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation>Ctrl+M</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>バージョン情報(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Check for updates...</source>
        <translation>アップデートの確認(&amp;C)...</translation>
    </message>
</context>
<context>
    <name>pz_color_sensor_setup_dialogClass</name>
    <message>
        <source>Calibration Sensor Preparation</source>
        <translation>キャリブレーションセンサーの準備</translation>
    </message>
</context>
<context>
    <name>pz_custom_color_gamut_dialog</name>
    <message>
        <source>CIE 1931 xy</source>
        <translation>CIE 1931 xy</translation>
    </message>
    <message>
        <source>Native Gamut</source>
        <translation>ネイティブ色域</translation>
    </message>
</context>
<context>
    <name>pz_custom_color_gamut_dialogClass</name>
    <message>
        <source>Custom Color Gamut</source>
        <translation>カスタム色域</translation>
    </message>
    <message>
        <source>Preset Color Gamuts:</source>
        <translation>プリセットの色域:</translation>
    </message>
    <message>
        <source>Color Gamut CIE xy</source>
        <translation>色域 CIE xy</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>y</source>
        <translation>y</translation>
    </message>
    <message>
        <source>Red:</source>
        <translation>赤:</translation>
    </message>
    <message>
        <source>Green:</source>
        <translation>緑:</translation>
    </message>
    <message>
        <source>Blue:</source>
        <translation>青:</translation>
    </message>
    <message>
        <source>The native color gamut of the display is shown by the yellow triangle. Colors outside this triangle can not be represented by the display and will be clipped to the nearest displayable color.</source>
        <translation>ディスプレイのネイティブ色域は黄色の三角形で示されます。この三角形の外側の色はディスプレイで表現できず、表示可能な最も近い色にクリップされます。</translation>
    </message>
</context>
<context>
    <name>pz_select_display_technology_type_dialogClass</name>
    <message>
        <source>Select Display Technology Type</source>
        <translation>ディスプレイの種類の選択</translation>
    </message>
    <message>
        <source>Unable to automatically determine the type of display being measured.&lt;br&gt;&lt;br&gt;In order to achieve the best possible color accuracy, select the type of display from the list below. Consult the display documentation or manufacturer if the display type is unknown.</source>
        <translation>測定しているディスプレイの種類を自動的に判別できません。&lt;br&gt;&lt;br&gt;できるだけ正確な色を得るために、下の一覧からディスプレイの種類を選択してください。ディスプレイの種類がわからない場合は、ディスプレイの説明書を参照するか、メーカーにお問い合わせください。</translation>
    </message>
    <message>
        <source>Display technology type:</source>
        <translation>ディスプレイ技術の種類:</translation>
    </message>
</context>
</TS>
