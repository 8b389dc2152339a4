<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>FilterColumnBox</name>
    <message>
        <source>On</source>
        <translation>オン</translation>
    </message>
    <message>
        <source>Freq:</source>
        <translation>周波数:</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gain:</source>
        <translation>ゲイン:</translation>
    </message>
    <message>
        <source>dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Q:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trim:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valid</source>
        <translation>有効</translation>
    </message>
    <message>
        <source>invalid</source>
        <translation>無効</translation>
    </message>
</context>
<context>
    <name>TCharWin</name>
    <message>
        <source>CALC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SEND</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This filter is invalid: its coefficients do not fit or are unstable.
Send it to the ORB-8 all the same?</source>
        <translation>このフィルターは無効です。係数が範囲を超えているか、不安定です。
それでも ORB-8 に送信しますか?</translation>
    </message>
</context>
<context>
    <name>TControlPanel</name>
    <message>
        <source>Patch name is too long</source>
        <translation>文字数オーバー</translation>
    </message>
    <message>
        <source>invalid character</source>
        <translation>不正な文字があります</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patch Editor</source>
        <translation>パッチエディター</translation>
    </message>
    <message>
        <source>The patch shown</source>
        <translation>表示中のパッチ</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The patch name: up to 8 capitals, digits, space and &apos; ( ) * + - / &lt; = &gt; ? @ \; Enter stores it</source>
        <translation>パッチ名: 英大文字・数字・スペースと &apos; ( ) * + - / &lt; = &gt; ? @ \ で 8 文字まで。Enter で確定します</translation>
    </message>
    <message>
        <source>RTM EDIT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COMPARE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare the patch with the one last loaded, saved or received</source>
        <translation>最後に読み込み・保存・受信したパッチと比較します</translation>
    </message>
    <message>
        <source>OnLine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OffLine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RecvAll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SendAll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DRIVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VNR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EQ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Treble frequency</source>
        <translation>トレブルの周波数</translation>
    </message>
    <message>
        <source>Middle frequency</source>
        <translation>ミドルの周波数</translation>
    </message>
    <message>
        <source>Bass frequency</source>
        <translation>ベースの周波数</translation>
    </message>
    <message>
        <source>MOD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DLY/REV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LEVEL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VOL RTM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CONTROLLERS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The module the controllers act on</source>
        <translation>コントローラーが働くモジュール</translation>
    </message>
    <message>
        <source>A value the ORB-8 does not have; it stays until this knob is moved</source>
        <translation>ORB-8 にない値です。このつまみを動かすまでそのまま残ります</translation>
    </message>
    <message>
        <source>PRES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TREB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BASS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PATCH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL1 NO.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL1 VALUE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL2 NO.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL2 VALUE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TCustomDistWin</name>
    <message>
        <source>CustomDistFile%1 has not been saved.
Save this?</source>
        <translation>カスタムディストファイル%1は保存されていません。
保存しますか？</translation>
    </message>
    <message>
        <source>Recv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Store</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DISTORTION CHARACTER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HIGH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clip</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDifferencesWin</name>
    <message>
        <source>Differences</source>
        <translation>相違点</translation>
    </message>
    <message>
        <source>as last loaded, saved or received</source>
        <translation>最後に読み込み・保存・受信した状態</translation>
    </message>
    <message>
        <source>A:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>パラメーター</translation>
    </message>
    <message>
        <source>A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COMMENT</source>
        <translation>コメント</translation>
    </message>
    <message>
        <source>The two patches are the same.</source>
        <translation>2 つのパッチは同じです。</translation>
    </message>
</context>
<context>
    <name>TDstCharWin</name>
    <message>
        <source>BOTTOM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PRE CHAR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EDGE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CLIP CHAR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CALC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SEND</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clipper %1</source>
        <translation>クリッパー %1</translation>
    </message>
    <message>
        <source>CALC %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A filter of this character is invalid: its coefficients do not fit or are unstable.
Send it to the ORB-8 all the same?</source>
        <translation>このキャラクターのフィルターに無効なものがあります。係数が範囲を超えているか、不安定です。
それでも ORB-8 に送信しますか?</translation>
    </message>
</context>
<context>
    <name>TGkbdWin</name>
    <message>
        <source>Graphic KBD</source>
        <translation>グラフィック鍵盤</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>小</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>大</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>演奏</translation>
    </message>
    <message>
        <source>Toggle Play Mode</source>
        <translation>演奏モードの切り替え</translation>
    </message>
    <message>
        <source>Bank </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prog </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velocity </source>
        <translation>ベロシティ </translation>
    </message>
    <message>
        <source>Ch </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI OUT is closed: nothing was sent. Go on line or open the output first.</source>
        <translation>MIDI OUT が閉じているため、何も送信されませんでした。先にオンラインにするか出力を開いてください。</translation>
    </message>
    <message>
        <source>Choose a message in the list first.</source>
        <translation>先にリストからメッセージを選んでください。</translation>
    </message>
</context>
<context>
    <name>TMainWin</name>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <source>New|Create new Project</source>
        <translation>新規|新規のファイルを作成します</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>開く(&amp;O)</translation>
    </message>
    <message>
        <source>Open|Open a Project</source>
        <translation>開く|ファイルを開きます</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>上書き保存..(&amp;S)</translation>
    </message>
    <message>
        <source>Save|Save this Project Overwritten</source>
        <translation>上書き保存します</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>名前をつけて保存..(&amp;A)</translation>
    </message>
    <message>
        <source>Save As|Save this Project as another file name</source>
        <translation>保存|ファイルに保存します</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>Exit|Quit ORB-8 Librarian/Editor</source>
        <translation>終了|ORB-8 Librarian/Editorを終了します</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>Copy|Copy current Patch to CopyBuffer</source>
        <translation>コピー|現在のパッチをコピーバッファにコピーします</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>貼り付け(&amp;P)</translation>
    </message>
    <message>
        <source>Paste|Paste the Patch in CopyBuffer to current Patch</source>
        <translation>貼り付け|パッチをコピーバッファから現在のパッチに貼り付けます</translation>
    </message>
    <message>
        <source>&amp;Comment</source>
        <translation>コメント(&amp;C)</translation>
    </message>
    <message>
        <source>Open the comment window</source>
        <translation>コメントウインドウを開きます</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>バージョン情報(&amp;A)</translation>
    </message>
    <message>
        <source>SHow Version Information</source>
        <translation>ORB-8 Librarian/Editorのバージョン情報を表示します</translation>
    </message>
    <message>
        <source>&amp;OnLine Help</source>
        <translation>オンラインヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>Open the online help</source>
        <translation>オンラインヘルプファイルを開きます</translation>
    </message>
    <message>
        <source>&amp;CustomDist</source>
        <translation>カスタムディスト(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Design</source>
        <translation>設計モード(&amp;D)</translation>
    </message>
    <message>
        <source>Enter design mode on the ORB-8</source>
        <translation>ORB-8を設計モードにします</translation>
    </message>
    <message>
        <source>Enter design mode.
Execute?</source>
        <translation>ORB-8を設計モードにします.
よろしいですか?</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>プロジェクト(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Import SysEx...</source>
        <translation>SysEx の読み込み(&amp;I)...</translation>
    </message>
    <message>
        <source>Import SysEx|Take the ORB-8 patches of a SysEx file into this project</source>
        <translation>SysEx の読み込み|SysEx ファイルの ORB-8 パッチをこのプロジェクトに取り込みます</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>書き出し(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Patches as SysEx...</source>
        <translation>全パッチを SysEx で(&amp;P)...</translation>
    </message>
    <message>
        <source>Export|The 80 patches as the SysEx messages that write them into the ORB-8</source>
        <translation>書き出し|80 パッチを ORB-8 に書き込む SysEx メッセージとして保存します</translation>
    </message>
    <message>
        <source>&amp;Selected Patch as SysEx...</source>
        <translation>選択中のパッチを SysEx で(&amp;S)...</translation>
    </message>
    <message>
        <source>Export|The selected patch as the SysEx messages that write it into the ORB-8</source>
        <translation>書き出し|選択中のパッチを ORB-8 に書き込む SysEx メッセージとして保存します</translation>
    </message>
    <message>
        <source>&amp;Recent Files</source>
        <translation>最近使ったファイル(&amp;R)</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直し</translation>
    </message>
    <message>
        <source>Co&amp;mpare</source>
        <translation>比較(&amp;M)</translation>
    </message>
    <message>
        <source>Compare|Switch between the patch as edited and as last loaded, saved or received</source>
        <translation>比較|編集中のパッチと、最後に読み込み・保存・受信したパッチを切り替えます</translation>
    </message>
    <message>
        <source>&amp;Differences...</source>
        <translation>相違点(&amp;D)...</translation>
    </message>
    <message>
        <source>Differences|List the parameters where two patches differ</source>
        <translation>相違点|2 つのパッチで異なるパラメーターを一覧にします</translation>
    </message>
    <message>
        <source>&amp;MIDI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI &amp;IN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI &amp;OUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On &amp;Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Receive All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Send All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keyboard...</source>
        <translation>鍵盤(&amp;K)...</translation>
    </message>
    <message>
        <source>Keyboard|Play notes and send programs and controllers through MIDI OUT</source>
        <translation>鍵盤|MIDI OUT からノート、プログラム、コントローラーを送ります</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>ウィンドウ(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;VESK Home Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Download Home Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ORB-8 Project File (*.orb);;ORB-8 Custom Drive Parameter File (*.dst)</source>
        <translation>ORB-8 プロジェクトファイル (*.orb);;ORB-8 カスタムドライブパラメーターファイル (*.dst)</translation>
    </message>
    <message>
        <source>ORB-8 Project File (*.orb)</source>
        <translation>ORB-8 プロジェクトファイル (*.orb)</translation>
    </message>
    <message>
        <source>ORB-8 Custom Drive Parameter File (*.dst)</source>
        <translation>ORB-8 カスタムドライブパラメーターファイル (*.dst)</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 は既に存在します。
置き換えますか?</translation>
    </message>
    <message>
        <source>Paste to %1</source>
        <translation>%1 に貼り付け</translation>
    </message>
    <message>
        <source>Receive All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not be OnLine.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Designe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off &amp;Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparing: the patch as last loaded, saved or received (read-only)</source>
        <translation>比較中: 最後に読み込み・保存・受信したパッチ (読み取り専用)</translation>
    </message>
    <message>
        <source>SysEx file (*.syx)</source>
        <translation>SysEx ファイル (*.syx)</translation>
    </message>
    <message>
        <source>%1 written to %2</source>
        <translation>%1 を %2 に書き出しました</translation>
    </message>
    <message>
        <source>1 patch</source>
        <translation>1 パッチ</translation>
    </message>
    <message>
        <source>80 patches</source>
        <translation>80 パッチ</translation>
    </message>
    <message>
        <source>%1 holds no ORB-8 patch (%2). Nothing was changed.</source>
        <translation>%1 には ORB-8 のパッチがありません (%2)。何も変更していません。</translation>
    </message>
    <message>
        <source>Import SysEx</source>
        <translation>SysEx の読み込み</translation>
    </message>
    <message>
        <source>Taken from %1: %2.</source>
        <translation>%1 から取り込みました: %2。</translation>
    </message>
</context>
<context>
    <name>TMemoWin</name>
    <message>
        <source>COMMENT</source>
        <translation>コメント</translation>
    </message>
    <message>
        <source>The comment was not stored: as UTF-8 it is longer than 255 bytes. Shorten it.</source>
        <translation>コメントは保存されませんでした。UTF-8 で 255 バイトを超えています。短くしてください。</translation>
    </message>
    <message>
        <source>Comment of %1</source>
        <translation>%1 のコメント</translation>
    </message>
    <message>
        <source>A comment holds at most %1 characters (255 bytes).</source>
        <translation>コメントは %1 文字 (255 バイト) までです。</translation>
    </message>
</context>
<context>
    <name>TProgressWin</name>
    <message>
        <source>Abort</source>
        <translation>中止</translation>
    </message>
</context>
<context>
    <name>TProjectWindow</name>
    <message>
        <source>This Project %1 has not been saved.
Save this?</source>
        <translation>プロジェクト%1は保存されていません。
保存しますか？</translation>
    </message>
    <message>
        <source>Copy to %1</source>
        <translation>%1 にコピー</translation>
    </message>
</context>
<context>
    <name>TRtmPopUp</name>
    <message>
        <source>RTM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MAX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DESTINATION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DRIVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EQ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DLY/REV</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WindowDeviceHost</name>
    <message>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
