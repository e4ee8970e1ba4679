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
    <name>PZ_Main_Dialog</name>
    <message>
        <source>Proceed anyway</source>
        <translation>このまま続行</translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show only calibrations for current monitor</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_Preferences_Dialog</name>
    <message>
        <source>8</source>
        <translation type="unfinished">8</translation>
    </message>
    <message>
        <source>16</source>
        <translation type="unfinished">16</translation>
    </message>
    <message>
        <source>32 (Default)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>52 (Highest Quality)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 Days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3 Days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 Weeks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4 Weeks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N/A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select location to store ICC Profile</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_Preferences_DialogClass</name>
    <message>
        <source>Pelzora Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Sensor</source>
        <translation type="unfinished">キャリブレーションセンサー</translation>
    </message>
    <message>
        <source>Sensor type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-Detect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Searches for a supported Calibration Sensor.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model:</source>
        <translation type="unfinished">モデル:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished">TextLabel</translation>
    </message>
    <message>
        <source>Serial #:</source>
        <translation type="unfinished">シリアル番号:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;b&gt;Note:&lt;/b&gt; If the Calibration Sensor was connected &lt;u&gt;after&lt;/u&gt; launching this application, it may be necessary to restart this application in order to detect the sensor.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average low luminance measurements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Improves the accuracy of low luminance measurments by taking several measurements and averaging them. Selecting this option will increase the monitor calibration time.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration and Profile steps:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Sets the number of steps used to measure the monitor grayscale during calibration and generation of the ICC profile. A larger number will generally result in a more accurate calibration, but will increase the calibration time. At least 16 steps are recommended and 32 is sufficient for most applications.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recalibration Reminder Period:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Sets the duration after calibration until a reminder to re-calibrate the monitor will be displayed when the application is launched.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extended luminance stabilization time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Increases the waiting time for the display to stabilize while the luminance is being adjusted. This option can be used if necessary to increase the accuracy of the luminance adjustment when a Target with a &lt;i&gt;Specific Level&lt;/i&gt; of Intensity is used. It may &lt;u&gt;significantly&lt;/u&gt; increase the calibration time, and is normally only useful when a very low Intensity value is used.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ICC Profile</source>
        <translation type="unfinished">ICC プロファイル</translation>
    </message>
    <message>
        <source>Generate ICC Profile after calibration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;If the applications you use do not take advantage of an ICC display profile, you can deselect this option to skip the generation of the profile when the display is calibrated.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set as Windows Color Management System Monitor Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically selects and associates the generated ICC monitor profile with the Color Management System (CMS).&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ICC Profile file name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt for file name and description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage Location:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Per user of this computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared by all users of this computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save To Location:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source of primary color chromaticities for ICC Profile:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically selects the optimal setting based on the color sensor model and the display monitor type.&lt;html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration sensor measurements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Uses the measurements taken by the color sensor to encode the color gamut information in the ICC profile generated. This setting is suitable for all sensors on &lt;u&gt;standard gamut&lt;/u&gt; displays. Some sensors are inaccurate when measuring wide color gamut displays and this may cause color shifts when viewing images in color managed applications.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Factory measurements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Use the measurements taken during production of the display monitor to encode the color gamut information in the generated ICC profile. These measurements may be more accurate than those of some color sensors when measuring &lt;u&gt;wide color gamut&lt;/u&gt; displays.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Luminance Units:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Candelas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Foot Lamberts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically load settings on Target change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically loads the most recent Monitor Caibration Settings when a different Target is selected (if available).&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Automatically loads the most recent Monitor Caibration Settings when a different Target is selected (if a calibration for that Target has been performed previously).&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm display calibration status each time application is launched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Queries the display monitor each time the application is launched to see if any of the settings have changed since the last calibration. If the settings have been changed, a warning message will be displayed, and the last calibration settings can be reset.&lt;br&gt;Checking the monitor settings will take several seconds each time the application is launched.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Targets, Calibrations and Preferences:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;The current user has their own private Targets, Calibrations and Preferences.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All users of this computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;All users share the Targets, Calibrations, and Preferences.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished">ディスプレイ</translation>
    </message>
    <message>
        <source>Lock OSD (On Screen Display) controls when calibrated:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock all except Brightness and Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Selects if the display monitor&apos;s On Screen Display control buttons are locked when calibrated. Locking the controls can be useful to prevent accidental or unauthorized adjustment of the monitor once it is calibrated.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_Profile_Name_Description_DialogClass</name>
    <message>
        <source>ICC Color Profile Name and Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile File Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Description to File Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile Description:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_colorimeter_dialog</name>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_colorimeter_dialogClass</name>
    <message>
        <source>Colorimeter Tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CIE XYZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-</source>
        <translation type="unfinished">-</translation>
    </message>
    <message>
        <source>CIE xyY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>- K</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sample Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red:</source>
        <translation type="unfinished">赤:</translation>
    </message>
    <message>
        <source>Green:</source>
        <translation type="unfinished">緑:</translation>
    </message>
    <message>
        <source>Blue:</source>
        <translation type="unfinished">青:</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Picker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measurement Area</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_dicom_graph</name>
    <message>
        <source>Digital Driving Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JND per DDL</source>
        <translation type="unfinished">JND per DDL</translation>
    </message>
    <message>
        <source>JND Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dL/L for a JND</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_monitor_settings_dialogClass</name>
    <message>
        <source>Monitor Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power LED Indicator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LED Brightness:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Adjusts the brightness of the Power LED Indicator.&lt;br&gt;&lt;br&gt;Reduce the brightness as necessary in dim lighting environments if the LED is distracting.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Adjusts the level of screen uniformity correction applied.&lt;br&gt;&lt;br&gt;Higher settings will improve the screen uniformity at the expense of screen brightness.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Digital Uniformity Correction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correction Level:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White Screen Background</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_test_pattern_dialogClass</name>
    <message>
        <source>Previous Test Pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Test Pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Test Pattern</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PZ_test_pattern_widget</name>
    <message>
        <source>&lt;html&gt;&lt;b&gt;&lt;font COLOR=white&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;b&gt;&lt;font COLOR=black&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;b&gt;&lt;font COLOR=red&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;b&gt;&lt;font COLOR=yellow&gt;%1&lt;/font&gt;&lt;/b&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;font COLOR=yellow&gt;%1&lt;/font&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TG18-QC Pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>25% Gray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>50% Gray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>75% Gray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <translation type="unfinished">赤</translation>
    </message>
    <message>
        <source>Green</source>
        <translation type="unfinished">緑</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation type="unfinished">青</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color and Grayscale wedges</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Greyscale wedge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double 100% Grayscale wedges</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double 25% Grayscale wedges</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black Quality Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White Quality Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>:/images/Resources/it8-6.png</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pattern #%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Plotter</name>
    <message>
        <source>&lt;html&gt;Zooms in.&lt;br&gt;Click and drag in the graph to select the region to zoom in on.&lt;br&gt;Use the keyboard arrow keys to pan around.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Zooms out.&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not calibrated.&lt;br&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration for %1 is currently set to off.&lt;br&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No supported Orvane monitors were detected. Verify that a supported model of display monitor is connected. See the README file and Users Guide for more information.&lt;br&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1 (Build %2)</source>
        <comment>software version and build number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Native</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x=%1 y=%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor Default</source>
        <comment>native contrast ratio text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum</source>
        <comment>target intensity maximum</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DICOM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished">なし</translation>
    </message>
    <message>
        <source>sRGB</source>
        <translation type="unfinished">sRGB</translation>
    </message>
    <message>
        <source>NTSC SMPTE-170M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NTSC/SMPTE-170M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SMPTE-240M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lstar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fL</source>
        <comment>foot Lamberts units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pelzora</source>
        <comment>STR_RES_ID_APPLICATION_NAME</comment>
        <translation type="unfinished">Pelzora</translation>
    </message>
    <message>
        <source>Target Files (*.tgt)</source>
        <comment>STR_RES_ID_TARGET_FILE_FILTER</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.tgt</source>
        <comment>STR_RES_ID_TARGET_FILE_EXTENSION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Target File</source>
        <comment>STR_RES_ID_OPEN_TARGET_FILE_DIALOG_TITLE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Target File</source>
        <comment>STR_RES_ID_SAVE_TARGET_FILE_DIALOG_TITLE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.mcs</source>
        <comment>STR_RES_ID_MCS_FILE_EXTENSION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/Targets/</source>
        <comment>STR_RES_ID_DEFAULT_TARGET_FILE_FOLDER_NAME</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/Calibration Settings/</source>
        <comment>STR_RES_ID_DEFAULT_MCS_FILE_FOLDER_NAME</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvane</source>
        <comment>STR_RES_ID_COMPANY_NAME</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>:/images/Resources/splashpz.png</source>
        <comment>STR_RES_ID_SPLASHSCREEN_FILE_NAME</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <comment>STR_RES_ID_MONITOR_CONFIGURATION_MONITORS_NONE</comment>
        <translation type="unfinished">なし</translation>
    </message>
    <message>
        <source>.icc</source>
        <comment>STR_RES_ID_ICC_FILE_EXTENSION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <comment>STR_RES_ID_UNKNOWN_DISPLAY_NAME</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown Display</source>
        <comment>STR_RES_ID_UNKNOWN_DISPLAY_NAME_AND_DISPLAY</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown Error #%1</source>
        <comment>STR_RES_ID_ERROR_UNKNOWN_ERROR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Unable to open file.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_OPEN_FILE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: The file appears to be an invalid format.</source>
        <comment>STR_RES_ID_ERROR_INVALID_FILE_DATA</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: The file appears to be an invalid version.</source>
        <comment>STR_RES_ID_ERROR_INVALID_FILE_VERSION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Unable to save file.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_SAVE_FILE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No calibration sensor was detected. Please check that the device is properly connected and close any other application that may be currently using the device.&lt;br&gt;&lt;br&gt;Click the Auto-Detect button in the Preferences dialog to try and detect the device again.&lt;br&gt;&lt;br&gt;If the device is still not detected, try closing and restarting this application.</source>
        <comment>STR_RES_ID_ERROR_NO_SENSOR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No calibration sensor was detected. Please check that the device is properly connected and close any other application that may be currently using the device.&lt;br&gt;&lt;br&gt;Also try reconnecting the USB cable. If the sensor is still not detected try closing and restarting this application.&lt;br&gt;&lt;br&gt;Do you want to try and re-detect the calibration sensor?</source>
        <comment>STR_RES_ID_ERROR_NO_SENSOR_RETRY_DETECT</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: No supported monitor</source>
        <comment>STR_RES_ID_ERROR_NO_MONITOR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while communicating with the calibration sensor.  Please make sure the device is properly connected and try again. It may be necessary to restart this application if the sensor was disconnected.</source>
        <comment>STR_RES_ID_ERROR_CANT_COMMUNICATE_WITH_SENSOR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: The color measured appears to be invalid. Please make sure the calibration sensor is properly located on the screen and try again.</source>
        <comment>STR_RES_ID_ERROR_INVALID_COLOR_MEASUREMENT</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: An error occurred while zero calibrating the calibration sensor. Make sure no light is reaching the sensor and try again.</source>
        <comment>STR_RES_ID_ERROR_ERROR_ZERO_CALIBRATING_SENSOR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: An error occurred while adjusting the white point.</source>
        <comment>STR_RES_ID_ERROR_WHITE_POINT_ADJUSTMENT_FAILED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: An error occurred while adjusting the display intensity.</source>
        <comment>STR_RES_ID_ERROR_LUMINANCE_ADJUSTMENT_FAILED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Unable to save the ICC profile.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_CREATE_ICC_PROFILE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Unable to calculate the display correction LUT.</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_CREATE_CORRECTION_CURVES (should never see)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: An error occurred while creating the display profile.
</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_SAVE_ICC_PROFILE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Unable to associate ICC profile with display.
</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_SET_SYSTEM_PROFILE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Unable to update the ICC profile &lt;b&gt;%1&lt;/b&gt; because the existing file is locked or you do not have the necessary access privileges. &lt;br&gt;&lt;br&gt;Close the Windows Display Properties window if it is currently open. Navigate to the file in Windows Explorer and either delete the file, or use the &apos;Properties&apos; command in to unlock the file.</source>
        <comment>STR_RES_ERROR_UNABLE_TO_CREATE_ICC_PROFILE_FILE_IN_USE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error %1: An error occurred while communicating with the display monitor.&lt;br&gt;&lt;br&gt;Please retry the last operation.&lt;br&gt;&lt;br&gt;If this problem continues, please check the README file included with the software and Orvane website for any specific compatibility issues with your hardware configuration.</source>
        <comment>STR_RES_ID_ERROR_COMMUNICATING_WITH_MONITOR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while restoring the monitor settings.</source>
        <comment>STR_RES_ID_ERROR_RESTORING_SETTINGS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One or more displays are currently not calibrated. Click OK to Exit or Cancel to return.</source>
        <comment>STR_RES_ID_ERROR_NOT_ALL_DISPLAYS_CALIBRATED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: File contains more than 256 data points.</source>
        <comment>STR_RES_ID_ERROR_FILE_CONTAINS_TOO_MANY_POINTS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: File contains invalid data.</source>
        <comment>STR_RES_ID_ERROR_FILE_CONTAINS_INVALID_DATA</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: File does not contain enough data points.</source>
        <comment>STR_RES_ID_ERROR_FILE_DOESNT_CONTAIN_ENOUGH_POINTS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Data points are not monotonic.</source>
        <comment>STR_RES_ID_ERROR_FILE_DATA_IS_NOT_MONOTONIC</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning! The display is not currently in a calibrated state.</source>
        <comment>STR_RES_ID_ERROR_DISPLAY_NOT_CALIBRATED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The instrument dial is not set to the correct position. Please check the dial position.
</source>
        <comment>STR_RES_ID_ERROR_SENSOR_SET_TO_WRONG_SETTING</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current user does not have file write permissions to the default ICC Color Profile storage location:&lt;br&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;br&gt;&lt;br&gt;The ICC Color Profile will not be generated. &lt;br&gt;&lt;br&gt;The default ICC Color Profile storage location can be changed in the Preferences dialog.&lt;br&gt;&lt;br&gt;Do you want to proceed anyway?</source>
        <comment>STR_RES_ICC_PROFILE_PERMISSIONS_WARNING</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Visual Match patch color has been adjusted but has not yet been measured. Do you want to measure it now so the custom White Point will be updated?</source>
        <comment>STR_RES_ID_CUSTOM_WHITE_POINT_NOT_MEASURED_QUESTION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The white point coordinates entered are outside the normal range of values and may &lt;u&gt;cause the calibration to fail&lt;/u&gt;. Are you sure you want to use these values?</source>
        <comment>STR_RES_ID_CUSTOM_WHITE_POINT_OUT_OF_RANGE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Would you like use the measured intensity of %1 as the Intensity value for this Target?</source>
        <comment>STR_RES_ID_CUSTOM_WHITE_POINT_USE_MEASURED_LUMINANCE_VALUE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This will reset all Preferences to default values. Continue?</source>
        <comment>STR_RES_ID_WILL_RESET_ALL_PREFERENCES_WARNING</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White Point Delta E: %1&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_WHITEPOINT_DELTA_E</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average Grayscale Delta E: %1&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_AVERAGE_DELTA_E</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Grayscale Delta E: %1&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_MAXIMUM_DELTA_E</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;br&gt;Recalibration is not necessary</source>
        <comment>STR_RES_ID_VERIFICATION_RECALIBRATION_NOT_NECESSARY</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;br&gt;Recalibration may be necessary&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_RECALIBRATION_RECOMMENDED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;b&gt;Recalibration is highly recommended&lt;/b&gt;&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_RECALIBRATION_IS_NECESSARY</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Verification failed.&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_FAILED_ERROR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Note: Many factors such as sensor positioning, measurement tolerances and repeatability can contribute to the validation result being out of tolerance compared to the current Target.&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_CAUTION_MESSAGE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum DICOM Contrast Response error: %1% at JND index %2&lt;br&gt;</source>
        <comment>STR_RES_ID_VERIFICATION_DICOM_MAXIMUM_ERROR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor is about to be reset. The screen will go blank for a few seconds.</source>
        <comment>STR_RES_ID_MONITOR_ABOUT_TO_BE_RESET_WARNING</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to communicate with any supported display monitors. Please verify that your system is supported and confirm that Display Configuration is correct by selecting &lt;i&gt;&lt;b&gt;Display Configuration&lt;/b&gt;&lt;/i&gt; from the &lt;i&gt;&lt;b&gt;Edit&lt;/b&gt;&lt;/i&gt; menu. See the README file and Users Guide for more information.&lt;br&gt;</source>
        <comment>STR_RES_ID_ERROR_CANT_COMMUNICATE_WITH_SUPPORTED_MONITOR_WINDOWS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to communicate with any supported display monitors. Please verify that your system is supported. See the README file and Users Guide for more information.&lt;br&gt;</source>
        <comment>STR_RES_ID_ERROR_CANT_COMMUNICATE_WITH_SUPPORTED_MONITOR_MAC</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: The file name &lt;b&gt;%1&lt;/b&gt; is reserved. Please enter a different file name.</source>
        <comment>STR_RES_ID_ERROR_RESERVED_FILE_NAME</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The measured luminance is not stable. Please allow the display more time to warm up and try again.</source>
        <comment>STR_RES_ID_ERROR_LUMINANCE_UNSTABLE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Unable to locate the Calibration Sensor definition files</source>
        <comment>STR_RES_ID_ERROR_UNABLE_TO_LOCATE_SENSOR_DEFINITION_FILES</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Digital Cinema</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DIGITAL_CINEMA</comment>
        <translation type="unfinished">デジタルシネマ</translation>
    </message>
    <message>
        <source>DICOM Clear</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_CLEAR</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DICOM Blue</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_BLUE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Broadcast Video</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_BROADCAST_VIDEO</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Standard</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_PRINT_STANDARD</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photo Editing</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_PHOTO_EDITING</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sRGB Emulation</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_sRGB_EMULATION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DICOM Clear (2009)</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_CLEAR_2009</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DICOM Blue (2009)</source>
        <comment>STR_RES_ID_PRESET_TARGET_NAME_DICOM_BLUE_2009</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Uncalibrated&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_STATUS_NOT_CALIBRATED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=green&gt;Calibrated&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_STATUS_CALIBRATION_ON</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Calibration Off&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_STATUS_CALIBRATION_OFF</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (Unsupported)</source>
        <comment>added to monitor name if not supported model</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (No Communications)</source>
        <comment>added to monitor name if no DDC/CI (no capability string read)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Unknown&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_LAST_CALIBRATED_UNKNOWN</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;1 day ago&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_1_DAY_AGO</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;%1 days ago&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_N_DAYS_AGO</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=green&gt;In %1 days&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_IN_N_DAYS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=green&gt;Tomorrow&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_TOMORROW</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Today&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_TODAY</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=red&gt;Now&lt;/font&gt;</source>
        <comment>STR_RES_ID_CALIBRATION_NEXT_CALIBRATION_DUE_NOW</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N/A</source>
        <comment>STR_RES_ID_NA</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information: </source>
        <comment>title of information window</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display %1 - %2</source>
        <comment>display list string. %1 is display number, %2 is model name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>STR_RES_ID_YES</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <comment>STR_RES_ID_NO</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hours usage</source>
        <comment>STR_RES_ID_CURRENT_MONITOR_HOURS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hours usage ago</source>
        <comment>STR_RES_ID_CURRENT_MONITOR_HOURS_SINCE_CALIBRATION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is %2 days past calibration. Recalibration is recommended.&lt;br&gt;</source>
        <comment>STR_RES_ID_WARNING_DISPLAY_IS_PAST_CALIBRATION_DATE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is %2 day past calibration. Recalibration is recommended.&lt;br&gt;</source>
        <comment>STR_RES_ID_WARNING_DISPLAY_IS_PAST_CALIBRATION_DATE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Closes in %1 second</source>
        <comment>STR_RES_ID_MESSAGE_BOX_MESSAGE_CLOSSES_IN_1_SECOND</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Closes in %1 seconds</source>
        <comment>STR_RES_ID_MESSAGE_BOX_MESSAGE_CLOSSES_IN_X_SECONDS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last calibration for this Target was performed %1 days ago.
The recommended re-calibration date was %2 days ago.
The monitor calibration may have changed since this file was created.
Do you want to continue to load it?</source>
        <comment>STR_RES_ID_ASK_LOAD_OLD_MCS_FILE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restoring settings for %1...</source>
        <comment>STR_PROGRESS_RESTORING_SETTINGS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying settings for %1...</source>
        <comment>STR_RES_ID_PROGRESS_READING_SETTINGS</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font COLOR=&quot;#ff0000&quot;&gt;Taking Measurement...&lt;/font&gt;</source>
        <comment>STR_RES_ID_MESSAGE_SENSOR_TAKING_MEASUREMENT</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;The &lt;b&gt;Spyder3Utility&lt;/b&gt; application for the Datacolor Spyder3 is currently running. This can cause system instability when this application is using the sensor.&lt;br&gt;It is recommended to close the Spyder3Utility while using Pelzora.&lt;br&gt;&lt;br&gt;Would you like to automatically close the Spyder3Utility application now?&lt;/html&gt;</source>
        <comment>STR_RES_ID_ASK_CLOSE_SPYDER_UTILITY</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;The &lt;b&gt;X-Rite Colormunki&lt;/b&gt; service is currently running. This service may prevent this application from being able to use the Colormunki the sensor.&lt;br&gt;&lt;br&gt;Would you like to automatically close the Colormunki service now?&lt;/html&gt;</source>
        <comment>STR_RES_ID_ASK_CLOSE_COLORMUNKI_SERVICE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;The &lt;b&gt;X-Rite i1ProfilerTray&lt;/b&gt; application is currently running. This application may prevent Pelzora from being able to use the i1Display Pro or Pelzsensor Pro calibration sensors.&lt;br&gt;&lt;br&gt;Would you like to automatically close the i1ProfilerTray applicaton now?&lt;/html&gt;</source>
        <comment>STR_RES_ID_ASK_CLOSE_I1PROFILERTRAY</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration complete</source>
        <comment>STR_RES_ID_MESSAGE_CALIBRATION_COMPLETE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ICC profile created</source>
        <comment>STR_RES_ID_MESSAGE_ICC_PROFILE_CREATED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ICC profile selected in Color Management System</source>
        <comment>STR_RES_ID_MESSAGE_ICC_PROFILE_ASSIGNED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The calibration sensor needs to be zero calibrated.&lt;br&gt;&lt;br&gt;</source>
        <comment>STR_RES_ID_MESSAGE_SENSOR_NEEDS_ZERO_CALIBRATION</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Click &lt;b&gt;Next&lt;/b&gt; when complete.</source>
        <comment>STR_RES_ID_MESSAGE_CLICK_NEXT_WHEN_COMPLETE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Click &lt;b&gt;OK&lt;/b&gt; when complete.</source>
        <comment>STR_RES_ID_MESSAGE_CLICK_OK_WHEN_COMPLETE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target Intensity of %1 could not be achieved with the current settings. Choose an Intensity value below %2.</source>
        <comment>STR_RES_ID_MESSAGE_TARGET_INTENSITY_NOT_ACHIEVED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The display monitor has not yet been powered on continuously for at least 30 minutes and may not yet be fully warmed up and stabilized. The accuracy of the calibration may be reduced.</source>
        <comment>STR_RES_ID_MESSAGE_MONITOR_NOT_WARMED_UP</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <comment>STR_RES_ID_AUTO_LUMINANCE_NOT_USED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <comment>STR_RES_ID_AUTO_LUMINANCE_USED</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Sensor</source>
        <comment>STR_RES_ID_PRIMARY_COLOR_SOURCE_SENSOR</comment>
        <translation type="unfinished">キャリブレーションセンサー</translation>
    </message>
    <message>
        <source>Factory Measurements</source>
        <comment>STR_RES_ID_PRIMARY_COLOR_SOURCE_FACTORY</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Native (Full)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_NATIVE</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_CUSTOM</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sRGB</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_sRGB</comment>
        <translation type="unfinished">sRGB</translation>
    </message>
    <message>
        <source>AdobeRGB</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_AdobeRGB</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EBU/ITU (PAL/SECAM)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_EBU_ITU</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SMPTE-C</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_SMPTE_C</comment>
        <translation type="unfinished">SMPTE-C</translation>
    </message>
    <message>
        <source>DCI</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_DCI</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ECI/NTSC(1953)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_ECI_NTSC</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ColorMatch (P22-EBU)</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_ColorMatch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CRT Display</source>
        <comment>STR_RES_ID_PRESET_COLOR_GAMUT_CRT</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missing message text</source>
        <comment>default text should never see this</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2.%3.%4</source>
        <comment>operating system name and version</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X-Rite ColorMunki</source>
        <comment>XRite Colormunki name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take the device out of the holder bag to uncover the the ambient light sensor and direct it away from the display.</source>
        <comment>XRite Colormunki message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;br&gt;&lt;br&gt;Turn the instrument dial to the position indicated.</source>
        <comment>XRite Colormunki message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn the instrument dial to the calibrate position.</source>
        <comment>XRite Colormunki message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position the calibration sensor as shown in the center of the screen.</source>
        <comment>ColorVision Spyder message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place the calibration sensor in the center of the display screen with the white diffuser is pointing away from the display.</source>
        <comment>eye one display3 sensor ambient positioning message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn the sensor in the housing as shown so the lens is exposed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Turn the sensor housing as shown so the lens is exposed.&lt;br&gt;&lt;br&gt;&lt;center&gt;&lt;img src=&quot;:/images/Resources/i1d3 rotate to emissive.png&quot;&gt;&lt;/center&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Turn the sensor housing as shown so the diffuser covers the lens.&lt;br&gt;&lt;br&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach the white plastic diffuser to the sensor as shown and direct the sensor away from the display.</source>
        <comment>eye one display sensor ambient positioning message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place the device on a flat surface so that light cannot reach the sensor.</source>
        <comment>eye one display sensor zero calibration message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Detach the white plastic diffuser from the sensor before taking any measurements.&lt;br&gt;&lt;br&gt;&lt;center&gt;&lt;img src=&quot;:/images/Resources/ione cover removal.png&quot;&gt;&lt;/center&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X-Rite EyeOne</source>
        <comment>XRite EyeOnePro name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the cap and direct the sensor away from the display.</source>
        <comment>XRite EyeOnePro message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place the calibration sensor on the base holder as shown.</source>
        <comment>XRite EyeOnePro message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach the ambient light diffuser and cap to the sensor as shown.</source>
        <comment>XRite EyeOnePro message</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportPanel</name>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delta E (CIE94)</source>
        <comment>graph x axis</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output Luminance</source>
        <comment>graph y axis</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input Level</source>
        <comment>graph x axis</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CIE 1931 xy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at JND Index %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mainWindow</name>
    <message>
        <source>Pelzora</source>
        <translation type="unfinished">Pelzora</translation>
    </message>
    <message>
        <source>Target Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Calibration Target presets&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Edit the Target settings&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Open an existing Target file&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Save the current Target to a file&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White Point:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Desired Target White Point&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-</source>
        <translation type="unfinished">-</translation>
    </message>
    <message>
        <source>Gamma:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Intensity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast Ratio:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Gamut:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Status of the display calibration&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Date and time of last calibration&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Due:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Turns calibration On and Off.&lt;br&gt;Locks or Unlocks the monitor controls (if selected in Preferences).&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Starts the display calibration process&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Open and load previous Monitor Calibration&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished">ディスプレイ</translation>
    </message>
    <message>
        <source>&lt;html&gt;Selects display to calibrate&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;Change the current display configuration&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Target...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Target As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Calibrate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Generate ICC Profile...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Validate Calibration...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Previous Calibration...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Display Configuration...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Target...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Information Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Colorimeter Window...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Test Pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ambient Light Measurement...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ambient Light Measurement...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Monitor Settings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Check for updates...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pz_color_sensor_setup_dialogClass</name>
    <message>
        <source>Calibration Sensor Preparation</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pz_custom_color_gamut_dialog</name>
    <message>
        <source>CIE 1931 xy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Native Gamut</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pz_custom_color_gamut_dialogClass</name>
    <message>
        <source>Custom Color Gamut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset Color Gamuts:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Gamut CIE xy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red:</source>
        <translation type="unfinished">赤:</translation>
    </message>
    <message>
        <source>Green:</source>
        <translation type="unfinished">緑:</translation>
    </message>
    <message>
        <source>Blue:</source>
        <translation type="unfinished">青:</translation>
    </message>
    <message>
        <source>The native color gamut of the display is shown by the yellow triangle. Colors outside this triangle can not be represented by the display and will be clipped to the nearest displayable color.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pz_select_display_technology_type_dialogClass</name>
    <message>
        <source>Select Display Technology Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to automatically determine the type of display being measured.&lt;br&gt;&lt;br&gt;In order to achieve the best possible color accuracy, select the type of display from the list below. Consult the display documentation or manufacturer if the display type is unknown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display technology type:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
