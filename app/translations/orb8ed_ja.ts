<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>DesignerWindow</name>
    <message>
        <location filename="../../customdist/ui/designerwindow.cpp" line="21"/>
        <source>CALC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/designerwindow.cpp" line="23"/>
        <source>SEND</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/designerwindow.cpp" line="44"/>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceCommands</name>
    <message>
        <location filename="../ui/devicecommands.cpp" line="150"/>
        <source>Receive All</source>
        <comment>undo step</comment>
        <translation>全パッチの受信</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="174"/>
        <location filename="../ui/devicecommands.cpp" line="256"/>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="174"/>
        <location filename="../ui/devicecommands.cpp" line="256"/>
        <source>Not be OnLine.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="178"/>
        <location filename="../ui/devicecommands.cpp" line="214"/>
        <source>Send Changed</source>
        <translation>変更分を送信</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="179"/>
        <source>The program does not know what this ORB-8 holds yet: it learns it from a Receive All or a Send All.
Receive All into a new bank first?</source>
        <translation>このORB-8が何を保持しているかまだわかりません。Receive All か Send All で把握します。
先に新しいバンクへ Receive All しますか?</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="200"/>
        <source>Sent 1 changed patch</source>
        <translation>変更したパッチを 1 個送信しました</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="200"/>
        <source>Sent %1 changed patches</source>
        <translation>変更したパッチを %1 個送信しました</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="201"/>
        <source> (%1)</source>
        <translation>（%1）</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="202"/>
        <source> and the custom settings</source>
        <translation>とカスタム設定</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="205"/>
        <source>; read back, all as sent.</source>
        <translation>。読み戻し: すべて送信どおりです。</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="208"/>
        <source>; the transfer ended early (%1).</source>
        <translation>。転送は途中で終わりました（%1）。</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="213"/>
        <source> Read back otherwise than sent: %1.</source>
        <translation> 送信と異なって読み戻されたもの: %1。</translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="259"/>
        <source>Designe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/devicecommands.cpp" line="259"/>
        <source>Enter design mode.
Execute?</source>
        <translation>ORB-8を設計モードにします.
よろしいですか?</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <location filename="../ui/filecommands.cpp" line="38"/>
        <source>ORB-8 Project File (*.orb);;ORB-8 Custom Drive Parameter File (*.dst)</source>
        <translation>ORB-8 プロジェクトファイル (*.orb);;ORB-8 カスタムドライブパラメーターファイル (*.dst)</translation>
    </message>
    <message>
        <location filename="../ui/filecommands.cpp" line="53"/>
        <location filename="../ui/filecommands.cpp" line="75"/>
        <location filename="../ui/filecommands.cpp" line="76"/>
        <location filename="../ui/filecommands.cpp" line="98"/>
        <location filename="../ui/filecommands.cpp" line="119"/>
        <location filename="../ui/filecommands.cpp" line="138"/>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/filecommands.cpp" line="55"/>
        <source>The bank is missing or damaged (is its disk plugged in?). Nothing was opened.</source>
        <translation>バンクが見つからないか壊れています（ディスクは接続されていますか？）。何も開いていません。</translation>
    </message>
    <message>
        <location filename="../ui/filecommands.cpp" line="112"/>
        <source>ORB-8 Project File (*.orb)</source>
        <translation>ORB-8 プロジェクトファイル (*.orb)</translation>
    </message>
    <message>
        <location filename="../ui/filecommands.cpp" line="112"/>
        <source>ORB-8 Custom Drive Parameter File (*.dst)</source>
        <translation>ORB-8 カスタムドライブパラメーターファイル (*.dst)</translation>
    </message>
    <message>
        <location filename="../ui/filecommands.cpp" line="136"/>
        <source>This Project %1 has not been saved.
Save this?</source>
        <translation>プロジェクト%1は保存されていません。
保存しますか？</translation>
    </message>
    <message>
        <location filename="../ui/filecommands.cpp" line="137"/>
        <source>CustomDistFile%1 has not been saved.
Save this?</source>
        <translation>カスタムディストファイル%1は保存されていません。
保存しますか？</translation>
    </message>
    <message>
        <location filename="../ui/filecommands.cpp" line="99"/>
        <location filename="../ui/filecommands.cpp" line="119"/>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 は既に存在します。
置き換えますか?</translation>
    </message>
</context>
<context>
    <name>FileMessage</name>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="9"/>
        <source>%1can&apos;t be opened.</source>
        <translation>%1は開けませんでした。</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="10"/>
        <source>%1can&apos;t be opened.
%2.</source>
        <translation>%1は開けませんでした。
%2</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="11"/>
        <source>%1 is not a %2: it has %3 bytes, a %2 has %4. Nothing was loaded.</source>
        <translation>%1は%2ではありません（%3バイト、正しくは%4バイト）。何も読み込んでいません。</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="12"/>
        <source>%1 is longer than a %2: it has %3 bytes, a %2 has %4. Nothing was loaded.</source>
        <translation>%1は%2より長いファイルです（%3バイト、正しくは%4バイト）。何も読み込んでいません。</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="13"/>
        <source>%1 ends early: it has %2 of %3 bytes. The rest keeps the contents of a new document.</source>
        <translation>%1は途中で終わっています（%2バイト、正しくは%3バイト）。残りは新規の内容のままです。</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="14"/>
        <source>%1 couldn&apos;t be saved: %2.
The previous file is unchanged.</source>
        <translation>%1に保存できませんでした：%2。
元のファイルはそのままです。</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="15"/>
        <source>%1 couldn&apos;t be saved: %2.
Nothing was written.</source>
        <translation>%1に保存できませんでした：%2。
何も書き込んでいません。</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="18"/>
        <source>%1 couldn&apos;t be saved: %2.
Nothing was written.</source>
        <comment>not a file</comment>
        <translation>%1には保存できません：通常のファイルではありません（%2）。何も書き込んでいません。</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="21"/>
        <source>project file</source>
        <translation>プロジェクトファイル</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="22"/>
        <source>custom distortion file</source>
        <translation>カスタムディストファイル</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="23"/>
        <source>SysEx file</source>
        <translation>SysExファイル</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/filemessages.cpp" line="24"/>
        <source>file</source>
        <translation>ファイル</translation>
    </message>
</context>
<context>
    <name>FilterColumnBox</name>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="38"/>
        <source>On</source>
        <translation>オン</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="67"/>
        <source>Freq:</source>
        <translation>周波数:</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="67"/>
        <source>Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="68"/>
        <source>Gain:</source>
        <translation>ゲイン:</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="68"/>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="70"/>
        <source>dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="69"/>
        <source>Q:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="70"/>
        <source>trim:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="88"/>
        <source>Valid</source>
        <translation>有効</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/filtercolumn.cpp" line="88"/>
        <source>invalid</source>
        <translation>無効</translation>
    </message>
</context>
<context>
    <name>FrameMenus</name>
    <message>
        <location filename="../ui/framemenus.cpp" line="24"/>
        <location filename="../ui/framemenus.cpp" line="70"/>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="26"/>
        <location filename="../ui/framemenus.cpp" line="72"/>
        <source>Redo</source>
        <translation>やり直し</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="35"/>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="37"/>
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="39"/>
        <source>New|Create new Project</source>
        <translation>新規|新規のファイルを作成します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="40"/>
        <source>&amp;Project</source>
        <translation>プロジェクト(&amp;P)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="42"/>
        <location filename="../ui/framemenus.cpp" line="147"/>
        <source>&amp;CustomDist</source>
        <translation>カスタムディスト(&amp;C)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="43"/>
        <source>&amp;Open...</source>
        <translation>開く(&amp;O)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="45"/>
        <source>Open|Open a Project</source>
        <translation>開く|ファイルを開きます</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="46"/>
        <source>&amp;Save</source>
        <translation>上書き保存..(&amp;S)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="48"/>
        <source>Save|Save this Project Overwritten</source>
        <translation>上書き保存します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="49"/>
        <source>Save &amp;As...</source>
        <translation>名前をつけて保存..(&amp;A)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="50"/>
        <source>Save As|Save this Project as another file name</source>
        <translation>保存|ファイルに保存します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="52"/>
        <source>&amp;Import SysEx...</source>
        <translation>SysEx の読み込み(&amp;I)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="53"/>
        <source>Import SysEx|Take the ORB-8 patches of a SysEx file into this project</source>
        <translation>SysEx の読み込み|SysEx ファイルの ORB-8 パッチをこのプロジェクトに取り込みます</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="54"/>
        <source>&amp;Export</source>
        <translation>書き出し(&amp;E)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="56"/>
        <source>&amp;Patches as SysEx...</source>
        <translation>全パッチを SysEx で(&amp;P)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="57"/>
        <source>Export|The 80 patches as the SysEx messages that write them into the ORB-8</source>
        <translation>書き出し|80 パッチを ORB-8 に書き込む SysEx メッセージとして保存します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="58"/>
        <source>&amp;Selected Patch as SysEx...</source>
        <translation>選択中のパッチを SysEx で(&amp;S)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="59"/>
        <source>Export|The selected patch as the SysEx messages that write it into the ORB-8</source>
        <translation>書き出し|選択中のパッチを ORB-8 に書き込む SysEx メッセージとして保存します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="60"/>
        <source>&amp;Recent Files</source>
        <translation>最近使ったファイル(&amp;R)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="63"/>
        <source>E&amp;xit</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="65"/>
        <source>Exit|Quit ORB-8 Librarian/Editor</source>
        <translation>終了|ORB-8 Librarian/Editorを終了します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="67"/>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="76"/>
        <source>Co&amp;mpare</source>
        <translation>比較(&amp;M)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="78"/>
        <source>Compare|Switch between the patch as edited and as last loaded, saved or received</source>
        <translation>比較|編集中のパッチと、最後に読み込み・保存・受信したパッチを切り替えます</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="79"/>
        <source>&amp;Differences...</source>
        <translation>相違点(&amp;D)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="80"/>
        <source>Differences|List the parameters where two patches differ</source>
        <translation>相違点|2 つのパッチで異なるパラメーターを一覧にします</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="81"/>
        <source>S&amp;ound Design...</source>
        <translation>サウンドデザイン(&amp;O)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="82"/>
        <source>Sound Design|Randomise, nudge, morph and merge the patch in the editor</source>
        <translation>サウンドデザイン|エディターのパッチをランダム化・近づける・モーフィング・取り込み</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="84"/>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="86"/>
        <source>Copy|Copy current Patch to CopyBuffer</source>
        <translation>コピー|現在のパッチをコピーバッファにコピーします</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="87"/>
        <source>&amp;Paste</source>
        <translation>貼り付け(&amp;P)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="89"/>
        <source>Paste|Paste the Patch in CopyBuffer to current Patch</source>
        <translation>貼り付け|パッチをコピーバッファから現在のパッチに貼り付けます</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="92"/>
        <source>&amp;MIDI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="94"/>
        <source>MIDI &amp;IN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="96"/>
        <source>MIDI &amp;OUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="98"/>
        <source>Output &amp;Pace</source>
        <translation>送出ペース(&amp;P)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="100"/>
        <source>&amp;MIDI Cable (31,250 baud)</source>
        <translation>MIDIケーブル (31,250 baud)(&amp;M)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="100"/>
        <source>&amp;Twice MIDI Speed</source>
        <translation>MIDIの2倍の速さ(&amp;T)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="101"/>
        <source>T&amp;en Times MIDI Speed</source>
        <translation>MIDIの10倍の速さ(&amp;E)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="101"/>
        <source>&amp;Unpaced</source>
        <translation>制限なし(&amp;U)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="112"/>
        <source>Output Pace|How fast messages go out: a MIDI cable&apos;s speed, so that the processor follows an edit at once, or faster for faster links</source>
        <translation>送出ペース|メッセージを送り出す速さ: MIDIケーブルの速さなら本体が編集にすぐ追従します。より速い接続にはより速い設定を</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="115"/>
        <source>On &amp;Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="116"/>
        <source>&amp;Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="130"/>
        <source>&amp;Receive All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="132"/>
        <source>&amp;Send All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="134"/>
        <source>Send C&amp;hanged</source>
        <translation>変更分を送信(&amp;H)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="136"/>
        <source>Send Changed|Send only the patches that differ from what the ORB-8 holds</source>
        <translation>変更分を送信|ORB-8が保持しているものと異なるパッチだけを送信します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="137"/>
        <source>Read &amp;Back What Was Sent</source>
        <translation>送信したものを読み戻す(&amp;B)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="140"/>
        <source>Send Changed reads the patches it sent back from the ORB-8 and compares them</source>
        <translation>変更分の送信のあと、送ったパッチをORB-8から読み戻して比較します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="142"/>
        <source>&amp;Monitor...</source>
        <translation>モニター(&amp;M)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="143"/>
        <source>MIDI Monitor|Every message in and out, with its time, name and bytes</source>
        <translation>MIDIモニター|送受信したすべてのメッセージを時刻・名前・バイトとともに表示します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="144"/>
        <source>&amp;Keyboard...</source>
        <translation>鍵盤(&amp;K)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="145"/>
        <source>Keyboard|Play notes and send programs and controllers through MIDI OUT</source>
        <translation>鍵盤|MIDI OUT からノート、プログラム、コントローラーを送ります</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="149"/>
        <source>&amp;Design</source>
        <translation>設計モード(&amp;D)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="150"/>
        <source>Enter design mode on the ORB-8</source>
        <translation>ORB-8を設計モードにします</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="152"/>
        <source>&amp;Window</source>
        <translation>ウィンドウ(&amp;W)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="154"/>
        <source>&amp;Library...</source>
        <translation>ライブラリ(&amp;L)...</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="155"/>
        <source>Library|Every patch of the banks on this computer: search, duplicates, history</source>
        <translation>ライブラリ|このコンピュータにあるバンクのすべてのパッチ: 検索、重複、履歴</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="156"/>
        <source>&amp;Comment</source>
        <translation>コメント(&amp;C)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="157"/>
        <source>Open the comment window</source>
        <translation>コメントウインドウを開きます</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="159"/>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="161"/>
        <source>&amp;About...</source>
        <translation>バージョン情報(&amp;A)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="162"/>
        <source>Show Version Information</source>
        <translation>ORB-8 Librarian/Editorのバージョン情報を表示します</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="164"/>
        <source>&amp;OnLine Help</source>
        <translation>オンラインヘルプ(&amp;H)</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="165"/>
        <source>Open the online help</source>
        <translation>オンラインヘルプファイルを開きます</translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="167"/>
        <source>&amp;VESK Home Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/framemenus.cpp" line="169"/>
        <source>&amp;Download Home Page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryCommands</name>
    <message>
        <location filename="../ui/librarycommands.cpp" line="29"/>
        <location filename="../ui/librarycommands.cpp" line="32"/>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message>
        <location filename="../ui/librarycommands.cpp" line="115"/>
        <source>What the processor holds could not be kept in its history: %1</source>
        <translation>プロセッサーの内容を履歴に保存できませんでした: %1</translation>
    </message>
</context>
<context>
    <name>LibraryManagePane</name>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="25"/>
        <source>%1  %2  (%3)</source>
        <translation>%1  %2  （%3）</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="56"/>
        <source>Add File...</source>
        <translation>ファイルを追加...</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="58"/>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="60"/>
        <source>The library no longer reads this folder or file; the files themselves stay</source>
        <translation>ライブラリーはこのフォルダーまたはファイルを読まなくなります。ファイル自体は残ります</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="63"/>
        <source>Read from:</source>
        <translation>読み込み元:</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="70"/>
        <source>Skipped files:</source>
        <translation>読み飛ばしたファイル:</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="73"/>
        <source>The same sound in several places, and one name for several sounds:</source>
        <translation>複数の場所にある同じ音と、複数の音に付いた同じ名前:</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="105"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="113"/>
        <source>... and %1 more</source>
        <translation>... ほか %1 件</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="128"/>
        <source>%1: the same sound in %2 places</source>
        <translation>%1: 同じ音が %2 か所にあります</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="131"/>
        <source>%1: one name, %2 sounds</source>
        <translation>%1: 同じ名前で %2 個の音</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="97"/>
        <source>The library could not be read just now: %1</source>
        <translation>今はライブラリーを読めませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="137"/>
        <source>Banks and SysEx files (*.orb *.syx)</source>
        <translation>バンクと SysEx ファイル (*.orb *.syx)</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="140"/>
        <location filename="../../library/ui/librarymanagepane.cpp" line="150"/>
        <location filename="../../library/ui/librarymanagepane.cpp" line="156"/>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="146"/>
        <source>Choose the folder or file to remove first.</source>
        <translation>先に削除するフォルダーまたはファイルを選んでください。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="151"/>
        <source>Stop reading %1?
The files stay where they are; your marks of their sounds stay in the library.</source>
        <translation>%1 を読むのをやめますか?
ファイルはそのまま残り、音に付けた印もライブラリーに残ります。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarymanagepane.cpp" line="160"/>
        <source>%1 is no longer read.</source>
        <translation>%1 は読まれなくなりました。</translation>
    </message>
</context>
<context>
    <name>LibraryResultModel</name>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="152"/>
        <source>No</source>
        <translation>番号</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="153"/>
        <source>NAME</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="154"/>
        <source>DRIVE</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="155"/>
        <source>MOD</source>
        <translation>モジュレーション</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="156"/>
        <source>REV/DLY</source>
        <translation>リバーブ/ディレイ</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="157"/>
        <source>BANK</source>
        <translation>バンク</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="158"/>
        <source>FAV</source>
        <translation>お気に入り</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryresultmodel.cpp" line="159"/>
        <source>COMMENT</source>
        <translation>コメント</translation>
    </message>
</context>
<context>
    <name>LibraryService</name>
    <message>
        <location filename="../../library/ui/libraryservice.cpp" line="218"/>
        <source>%1 is not one of the library&apos;s sources.</source>
        <translation>%1 はライブラリーのソースではありません。</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryservice.cpp" line="234"/>
        <source>The library&apos;s file %1 was deleted or replaced by another program; nothing was scanned. Close the Library window and open it again.</source>
        <translation>ライブラリのファイル%1は別のプログラムによって削除されたか置き換えられました。スキャンしていません。ライブラリのウィンドウを閉じて開き直してください。</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryservice.cpp" line="261"/>
        <source>%1 files: %2 read, %3 unchanged, %4 skipped, %5 gone; %6 new sounds</source>
        <translation>%1 ファイル: 読み込み %2、変更なし %3、スキップ %4、削除 %5; 新しい音 %6</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryservice.cpp" line="269"/>
        <source>%1 patches of CUSTOM types from SysEx files, which hold no custom settings, are taken with the built-in ones.</source>
        <translation>カスタム設定を持たないSysExファイルのCUSTOMタイプのパッチ%1個は、内蔵のカスタム設定で読み込みました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryservice.cpp" line="272"/>
        <source>Scan cancelled; what was read is kept.</source>
        <translation>スキャンを中止しました。読み込んだ分は残っています。</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryservice.cpp" line="275"/>
        <source>Not found (what it held is kept): %1</source>
        <translation>見つかりません (内容は残してあります): %1</translation>
    </message>
    <message>
        <location filename="../../library/ui/libraryservice.cpp" line="279"/>
        <source>The scan stopped: %1</source>
        <translation>スキャンが止まりました: %1</translation>
    </message>
</context>
<context>
    <name>PatchPicker</name>
    <message>
        <location filename="../../sounddesign/ui/patchpicker.cpp" line="19"/>
        <source>as saved</source>
        <translation>保存時</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/patchpicker.cpp" line="20"/>
        <source>The patch as last loaded, saved or received</source>
        <translation>最後に読み込み・保存・受信したときのパッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/patchpicker.cpp" line="49"/>
        <source>(none)</source>
        <translation>（なし）</translation>
    </message>
</context>
<context>
    <name>PatchToolWindows</name>
    <message>
        <location filename="../ui/patchtoolwindows.cpp" line="73"/>
        <location filename="../ui/patchtoolwindows.cpp" line="85"/>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message>
        <location filename="../ui/patchtoolwindows.cpp" line="74"/>
        <source>Open a bank first: the library&apos;s patch is compared with the patch in the editor.</source>
        <translation>先にバンクを開いてください。ライブラリのパッチはエディターのパッチと比較されます。</translation>
    </message>
    <message>
        <location filename="../ui/patchtoolwindows.cpp" line="86"/>
        <source>Open a bank first: the library&apos;s patch is copied over the patch in the editor.</source>
        <translation>先にバンクを開いてください。ライブラリのパッチはエディターのパッチに上書きされます。</translation>
    </message>
</context>
<context>
    <name>ProcessorHistoryPane</name>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="34"/>
        <source>ORB-8 on channel %1, version %2</source>
        <translation>ORB-8（チャンネル %1、バージョン %2）</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="39"/>
        <source>custom distortions, %1 of %2 received (partial)</source>
        <translation>カスタムディストーション、%2 個中 %1 個を受信（一部）</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="42"/>
        <source>custom distortions received</source>
        <translation>カスタムディストーションを受信</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="43"/>
        <source>sent whole</source>
        <translation>全体を送信</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="44"/>
        <source>received %1 of %2 (partial)</source>
        <translation>%2 個中 %1 個を受信（一部）</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="45"/>
        <source>received</source>
        <translation>受信</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="46"/>
        <source>%1   %2   %3</source>
        <translation>%1   %2   %3</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="69"/>
        <source>Open as Bank</source>
        <translation>バンクとして開く</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="71"/>
        <source>Compare with Current Bank</source>
        <translation>現在のバンクと比較</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="79"/>
        <source>What the processor held, as received or sent:</source>
        <translation>プロセッサーが保持していた内容（受信または送信）:</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="89"/>
        <source>What this processor&apos;s slot held:</source>
        <translation>このプロセッサーのスロットの内容:</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="128"/>
        <source>Nothing received from a processor yet: each Receive All is kept here.</source>
        <translation>まだプロセッサーから受信していません。Receive All のたびにここに保存されます。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="129"/>
        <source>No history is kept without a library.</source>
        <translation>ライブラリーがないと履歴は保存されません。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="147"/>
        <source>%1   %2</source>
        <translation>%1   %2</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="148"/>
        <source>   (not received)</source>
        <translation>   （未受信）</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="149"/>
        <source>   (changed)</source>
        <translation>   （変更あり）</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="164"/>
        <source>These are custom distortions, not a bank: open them to see them.</source>
        <translation>これはバンクではなくカスタムディストーションです。開いて確認してください。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="168"/>
        <source>Open a bank first: the snapshot is compared with the active bank.</source>
        <translation>先にバンクを開いてください。スナップショットはアクティブなバンクと比較されます。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="174"/>
        <source>The snapshot can&apos;t be read any more.</source>
        <translation>スナップショットを読み込めなくなりました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="183"/>
        <source>The active bank holds the same patches as this snapshot.</source>
        <translation>アクティブなバンクはこのスナップショットと同じパッチです。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="186"/>
        <source>The patches are the same.</source>
        <translation>パッチは同じです。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="187"/>
        <source>1 patch differs: %1.</source>
        <translation>1 個のパッチが異なります: %1。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="188"/>
        <source>%1 patches differ: %2.</source>
        <translation>%1 個のパッチが異なります: %2。</translation>
    </message>
    <message>
        <location filename="../../library/ui/processorhistorypane.cpp" line="189"/>
        <source>The custom settings differ: %1.</source>
        <translation>カスタム設定が異なります: %1。</translation>
    </message>
</context>
<context>
    <name>RecoveryCommands</name>
    <message>
        <location filename="../ui/recoverycommands.cpp" line="28"/>
        <source>(unreadable record)</source>
        <translation>（読めない記録）</translation>
    </message>
    <message numerus="yes">
        <location filename="../ui/recoverycommands.cpp" line="41"/>
        <source>The unsaved work of %n document(s) will be thrown away for good.
Discard it?</source>
        <translation>
            <numerusform>%n個の文書の保存されていない作業は完全に捨てられます。
破棄しますか？</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../ui/recoverycommands.cpp" line="56"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location filename="../ui/recoverycommands.cpp" line="62"/>
        <source>Recovery</source>
        <translation>復元</translation>
    </message>
    <message>
        <location filename="../ui/recoverycommands.cpp" line="65"/>
        <source>%1: the document in it is damaged</source>
        <translation>%1: 中のドキュメントが壊れています</translation>
    </message>
    <message>
        <location filename="../ui/recoverycommands.cpp" line="75"/>
        <source>These recovery records could not be recovered and were kept aside:
%1</source>
        <translation>次の復元データは復元できなかったため、別名で残しました:
%1</translation>
    </message>
</context>
<context>
    <name>RecoveryDialog</name>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="19"/>
        <source>%1 did not end normally. Unsaved work was kept of these documents:</source>
        <translation>%1 は正常に終了しませんでした。次のドキュメントの保存されていない作業が残っています:</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="27"/>
        <source>Document</source>
        <translation>ドキュメント</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="27"/>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="27"/>
        <source>Last change</source>
        <translation>最後の変更</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="38"/>
        <source>(never saved)</source>
        <translation>(未保存)</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="39"/>
        <source>Cannot be recovered: %1</source>
        <translation>復元できません: %1</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="75"/>
        <source>Recover</source>
        <translation>復元</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="76"/>
        <source>Discard</source>
        <translation>破棄</translation>
    </message>
    <message>
        <location filename="../../workspace/ui/recoverydialog.cpp" line="77"/>
        <source>Later</source>
        <translation>後で</translation>
    </message>
</context>
<context>
    <name>StepWords</name>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="14"/>
        <source>Drive</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="14"/>
        <source>Mod</source>
        <translation>モジュレーション</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="15"/>
        <source>Dly/Rev</source>
        <translation>ディレイ/リバーブ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="15"/>
        <source>EQ</source>
        <translation>EQ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="16"/>
        <source>type</source>
        <translation>タイプ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="17"/>
        <source>name</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="18"/>
        <source>module switch</source>
        <translation>モジュールのスイッチ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="19"/>
        <source>%1 on</source>
        <translation>%1 オン</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="20"/>
        <source>%1 off</source>
        <translation>%1 オフ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="21"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="22"/>
        <source>Move %1 to %2</source>
        <translation>%1 を %2 へ移動</translation>
    </message>
    <message>
        <location filename="../../editors/ui/stepwords.cpp" line="23"/>
        <source>Move %1-%2 to %3</source>
        <translation>%1-%2 を %3 へ移動</translation>
    </message>
</context>
<context>
    <name>SysExCommands</name>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="22"/>
        <location filename="../ui/sysexcommands.cpp" line="42"/>
        <source>SysEx file (*.syx)</source>
        <translation>SysEx ファイル (*.syx)</translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="28"/>
        <location filename="../ui/sysexcommands.cpp" line="34"/>
        <location filename="../ui/sysexcommands.cpp" line="47"/>
        <location filename="../ui/sysexcommands.cpp" line="52"/>
        <location filename="../ui/sysexcommands.cpp" line="60"/>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="28"/>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 は既に存在します。
置き換えますか?</translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="37"/>
        <source>%1 written to %2</source>
        <translation>%1 を %2 に書き出しました</translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="37"/>
        <source>1 patch</source>
        <translation>1 パッチ</translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="37"/>
        <source>80 patches</source>
        <translation>80 パッチ</translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="53"/>
        <source>%1 holds no ORB-8 patch (%2). Nothing was changed.</source>
        <translation>%1 には ORB-8 のパッチがありません (%2)。何も変更していません。</translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="58"/>
        <source>Import SysEx</source>
        <translation>SysEx の読み込み</translation>
    </message>
    <message>
        <location filename="../ui/sysexcommands.cpp" line="60"/>
        <source>Taken from %1: %2.</source>
        <translation>%1 から取り込みました: %2。</translation>
    </message>
</context>
<context>
    <name>TCharWin</name>
    <message>
        <location filename="../../customdist/ui/character.cpp" line="46"/>
        <source>CALC</source>
        <comment>undo step</comment>
        <translation>計算</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/character.cpp" line="49"/>
        <source>This filter is invalid: its coefficients do not fit or are unstable.
Send it to the ORB-8 all the same?</source>
        <translation>このフィルターは無効です。係数が範囲を超えているか、不安定です。
それでも ORB-8 に送信しますか?</translation>
    </message>
</context>
<context>
    <name>TControlPanel</name>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="547"/>
        <source>Patch name is too long</source>
        <translation>文字数オーバー</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="548"/>
        <source>invalid character</source>
        <translation>不正な文字があります</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="78"/>
        <location filename="../../editors/ui/ctpanel.cpp" line="475"/>
        <source>OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="108"/>
        <source>Patch Editor</source>
        <translation>パッチエディター</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="130"/>
        <source>The patch shown</source>
        <translation>表示中のパッチ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="136"/>
        <source>NAME</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="137"/>
        <source>The patch name: up to 8 capitals, digits, space and &apos; ( ) * + - / &lt; = &gt; ? @ \; Enter stores it</source>
        <translation>パッチ名: 英大文字・数字・スペースと &apos; ( ) * + - / &lt; = &gt; ? @ \ で 8 文字まで。Enter で確定します</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="146"/>
        <source>RTM EDIT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="147"/>
        <source>COMPARE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="148"/>
        <source>Compare the patch with the one last loaded, saved or received</source>
        <translation>最後に読み込み・保存・受信したパッチと比較します</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="149"/>
        <source>DESIGN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="150"/>
        <source>Sound design: randomise, nudge, morph and merge the patch</source>
        <translation>サウンドデザイン: パッチのランダム化・近づける・モーフィング・取り込み</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="151"/>
        <source>OnLine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="152"/>
        <source>OffLine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="153"/>
        <source>RecvAll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="154"/>
        <source>SendAll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="160"/>
        <source>DRIVE</source>
        <translation>DRIVE</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="171"/>
        <location filename="../../editors/ui/ctpanel.cpp" line="457"/>
        <source>VNR</source>
        <translation>VNR</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="173"/>
        <source>EQ</source>
        <translation>EQ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="189"/>
        <source>Treble frequency</source>
        <translation>トレブルの周波数</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="190"/>
        <source>Middle frequency</source>
        <translation>ミドルの周波数</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="191"/>
        <source>Bass frequency</source>
        <translation>ベースの周波数</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="196"/>
        <source>MOD</source>
        <translation>MOD</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="201"/>
        <source>DLY/REV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="212"/>
        <location filename="../../editors/ui/ctpanel.cpp" line="446"/>
        <source>LEVEL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="214"/>
        <source>VOL RTM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="221"/>
        <source>CONTROLLERS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="224"/>
        <source>The module the controllers act on</source>
        <translation>コントローラーが働くモジュール</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="411"/>
        <source>A value the ORB-8 does not have; it stays until this knob is moved</source>
        <translation>ORB-8 にない値です。このつまみを動かすまでそのまま残ります</translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="445"/>
        <source>PRES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="445"/>
        <source>TREB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="445"/>
        <source>MID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="445"/>
        <source>BASS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="458"/>
        <source>PATCH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="459"/>
        <source>CTRL1 NO.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="460"/>
        <source>CTRL1 VALUE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="461"/>
        <source>CTRL2 NO.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="462"/>
        <source>CTRL2 VALUE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="475"/>
        <source>ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/ctpanel.cpp" line="549"/>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TCustomDistWin</name>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="18"/>
        <source>Recv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="19"/>
        <source>Store</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="23"/>
        <source>Special1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="24"/>
        <source>Special2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="88"/>
        <source>Recv</source>
        <comment>undo step</comment>
        <translation>受信</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="108"/>
        <source>DISTORTION CHARACTER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="108"/>
        <source>HIGH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="108"/>
        <source>MID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="108"/>
        <source>LOW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="140"/>
        <source>Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="140"/>
        <source>Pre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="140"/>
        <source>Edge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/customdistwin.cpp" line="140"/>
        <source>Clip</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDifferencesWin</name>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="25"/>
        <source>Differences</source>
        <translation>相違点</translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="35"/>
        <source>as last loaded, saved or received</source>
        <translation>最後に読み込み・保存・受信した状態</translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="42"/>
        <source>A:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="43"/>
        <source>B:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="48"/>
        <source>Parameter</source>
        <translation>パラメーター</translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="48"/>
        <source>A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="48"/>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="160"/>
        <source>COMMENT</source>
        <translation>コメント</translation>
    </message>
    <message>
        <location filename="../../editors/ui/differenceswin.cpp" line="163"/>
        <source>The two patches are the same.</source>
        <translation>2 つのパッチは同じです。</translation>
    </message>
</context>
<context>
    <name>TDstCharWin</name>
    <message>
        <location filename="../../customdist/ui/dcharwin.cpp" line="22"/>
        <source>BOTTOM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/dcharwin.cpp" line="22"/>
        <source>PRE CHAR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/dcharwin.cpp" line="22"/>
        <source>EDGE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/dcharwin.cpp" line="32"/>
        <source>CLIP CHAR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../customdist/ui/dcharwin.cpp" line="84"/>
        <source>Clipper %1</source>
        <translation>クリッパー %1</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/dcharwin.cpp" line="91"/>
        <source>CALC %1</source>
        <comment>undo step</comment>
        <translation>計算 %1</translation>
    </message>
    <message>
        <location filename="../../customdist/ui/dcharwin.cpp" line="95"/>
        <source>A filter of this character is invalid: its coefficients do not fit or are unstable.
Send it to the ORB-8 all the same?</source>
        <translation>このキャラクターのフィルターに無効なものがあります。係数が範囲を超えているか、不安定です。
それでも ORB-8 に送信しますか?</translation>
    </message>
</context>
<context>
    <name>TGkbdWin</name>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="62"/>
        <source>Graphic KBD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="71"/>
        <source>Message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="73"/>
        <source>Small</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="75"/>
        <source>Big</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="77"/>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="82"/>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="83"/>
        <source>Toggle Play Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="90"/>
        <source>Bank </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="91"/>
        <source>Prog </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="92"/>
        <source>Velocity </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="93"/>
        <source>Ch </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="135"/>
        <source>MIDI OUT is closed: nothing was sent. Go on line or open the output first.</source>
        <translation>MIDI OUT が閉じています。何も送信していません。先にオンラインにするか、出力を開いてください。</translation>
    </message>
    <message>
        <location filename="../../keyboard/ui/gkbdwin.cpp" line="179"/>
        <source>Choose a message in the list first.</source>
        <translation>先にリストからメッセージを選んでください。</translation>
    </message>
</context>
<context>
    <name>TLibraryWin</name>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="94"/>
        <location filename="../../library/ui/librarywin.cpp" line="649"/>
        <location filename="../../library/ui/librarywin.cpp" line="755"/>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="97"/>
        <source>Words, drive:fuzz, mod:on, gain&gt;=20, fav, tag:live, in:folder</source>
        <translation>語句、drive:fuzz、mod:on、gain&gt;=20、fav、tag:live、in:フォルダ</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="99"/>
        <source>Add Folder...</source>
        <translation>フォルダを追加...</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="101"/>
        <source>Rescan</source>
        <translation>再スキャン</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="105"/>
        <source>Your saved searches: choose one to run it</source>
        <translation>保存した検索: 選ぶと実行します</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="107"/>
        <source>Save Search...</source>
        <translation>検索を保存...</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="109"/>
        <source>Keep the search typed under a name of yours</source>
        <translation>入力した検索に名前を付けて保存します</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="110"/>
        <source>Forget Search</source>
        <translation>検索を削除</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="112"/>
        <source>Remove the saved search chosen from the list</source>
        <translation>一覧で選んだ保存済みの検索を削除します</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="139"/>
        <location filename="../../library/ui/librarywin.cpp" line="141"/>
        <source>No</source>
        <translation>番号</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="139"/>
        <location filename="../../library/ui/librarywin.cpp" line="140"/>
        <location filename="../../library/ui/librarywin.cpp" line="141"/>
        <source>NAME</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="139"/>
        <location filename="../../library/ui/librarywin.cpp" line="141"/>
        <source>BANK</source>
        <translation>バンク</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="139"/>
        <source>Since</source>
        <translation>登録日時</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="140"/>
        <source>From</source>
        <translation>開始</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="140"/>
        <source>Until</source>
        <translation>終了</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="140"/>
        <source>COMMENT</source>
        <translation>コメント</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="141"/>
        <source>Distance</source>
        <translation>距離</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="146"/>
        <source>Where It Occurs</source>
        <translation>含まれる場所</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="147"/>
        <source>History of the Slot</source>
        <translation>スロットの履歴</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="148"/>
        <source>Similar Patches</source>
        <translation>似たパッチ</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="150"/>
        <source>Processor History</source>
        <translation>プロセッサーの履歴</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="152"/>
        <source>Sources and Doubles</source>
        <translation>ソースと重複</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="160"/>
        <source>Favourite</source>
        <translation>お気に入り</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="164"/>
        <source>No rating</source>
        <translation>評価なし</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="168"/>
        <source>Tags, separated by commas</source>
        <translation>タグ（カンマ区切り）</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="171"/>
        <source>A note of your own</source>
        <translation>自分用のメモ</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="172"/>
        <location filename="../../library/ui/librarywin.cpp" line="743"/>
        <source>Compare with Current</source>
        <translation>現在のパッチと比較</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="174"/>
        <source>The patch last chosen in any list against the patch in the editor, in the Differences window</source>
        <translation>最後に選んだパッチとエディターのパッチの違いを［相違点］ウィンドウに表示します</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="175"/>
        <location filename="../../library/ui/librarywin.cpp" line="744"/>
        <source>Copy to Current Patch</source>
        <translation>現在のパッチへコピー</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="177"/>
        <source>The patch last chosen in any list over the current patch of the active bank (Undo takes it back)</source>
        <translation>最後に選んだパッチをアクティブなバンクの現在のパッチに上書きします（元に戻すで取り消せます）</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="181"/>
        <source>Tags:</source>
        <translation>タグ:</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="183"/>
        <source>Note:</source>
        <translation>メモ:</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="185"/>
        <source>Try on Processor</source>
        <translation>プロセッサーで試す</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="188"/>
        <source>While pressed, the patch chosen in any list plays on the processor; no bank changes. Esc, or leaving the window, plays the editor&apos;s patch again</source>
        <translation>押している間、どのリストで選んだパッチもプロセッサーで鳴ります。バンクは変わりません。Esc またはウィンドウを離れるとエディターのパッチに戻ります</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="190"/>
        <source>New Bank from Selection</source>
        <translation>選択から新しいバンク</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="192"/>
        <source>A new bank of the results chosen (Shift and Ctrl choose several), in their order</source>
        <translation>選んだ結果から、その順に新しいバンクを作ります（Shift と Ctrl で複数選べます）</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="193"/>
        <source>Export as Bank...</source>
        <translation>バンクとして書き出す...</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="195"/>
        <source>The results chosen, in their order, written as a bank file</source>
        <translation>選んだ結果をその順にバンクファイルとして書き出します</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="223"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="343"/>
        <source>The library is read-only (%1): marks can&apos;t be changed.</source>
        <translation>ライブラリは読み取り専用です（%1）。印は変更できません。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="345"/>
        <source>The library&apos;s file was deleted or replaced by another program: close this window and open it again.</source>
        <translation>ライブラリのファイルは別のプログラムによって削除されたか置き換えられました。このウィンドウを閉じて開き直してください。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="392"/>
        <source>The library is empty: add the folders where your banks are (Add Folder...).</source>
        <translation>ライブラリは空です: バンクのあるフォルダを追加してください (フォルダを追加...)。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="394"/>
        <source>%1 patches shown, more as you scroll</source>
        <translation>%1 パッチを表示中 (スクロールでさらに表示)</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="395"/>
        <source>%1 patches</source>
        <translation>%1 パッチ</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="447"/>
        <source>... and %1 more places</source>
        <translation>... ほか %1 か所</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="449"/>
        <source>now</source>
        <translation>現在</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="452"/>
        <source>%1, until %2</source>
        <translation>%1、%2 まで</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="433"/>
        <source>The library could not be read: %1</source>
        <translation>ライブラリを読み込めませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="462"/>
        <source>No saved searches</source>
        <translation>保存した検索はありません</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="462"/>
        <source>Saved searches</source>
        <translation>保存した検索</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="481"/>
        <source>Type a search first, then save it under a name.</source>
        <translation>先に検索を入力してから、名前を付けて保存してください。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="484"/>
        <source>Save Search</source>
        <translation>検索を保存</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="484"/>
        <source>Name of the search:</source>
        <translation>検索の名前:</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="488"/>
        <source>Search &quot;%1&quot; saved.</source>
        <translation>検索「%1」を保存しました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="505"/>
        <source>Search &quot;%1&quot; forgotten.</source>
        <translation>検索「%1」を削除しました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="512"/>
        <source>Similar patches could not be found: %1</source>
        <translation>似たパッチを探せませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="580"/>
        <source>Your change is kept and will be stored as soon as the scan lets it.</source>
        <translation>変更は保持され、スキャンが許すとすぐに保存されます。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="586"/>
        <location filename="../../library/ui/librarywin.cpp" line="786"/>
        <source>Your changes are stored.</source>
        <translation>変更を保存しました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="607"/>
        <source>Tags kept.</source>
        <translation>タグを保存しました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="634"/>
        <source>Choose the results to export first (Shift and Ctrl choose several).</source>
        <translation>先に書き出す結果を選んでください（Shift と Ctrl で複数選べます）。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="637"/>
        <source>Project files (*.orb)</source>
        <translation>プロジェクトファイル (*.orb)</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="652"/>
        <source>%1 patches written to %2; %3 more did not fit in a bank.</source>
        <translation>%1 個のパッチを %2 に書き出しました。残りの %3 個はバンクに入りませんでした。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="656"/>
        <source>%1 patches written to %2.</source>
        <translation>%1 個のパッチを %2 に書き出しました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="663"/>
        <source>Choose the results for the new bank first (Shift and Ctrl choose several).</source>
        <translation>先に新しいバンクに入れる結果を選んでください（Shift と Ctrl で複数選べます）。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="667"/>
        <source>A new bank of the first %1 results chosen; %2 more did not fit.</source>
        <translation>選んだ結果の最初の %1 個で新しいバンクを作りました。残りの %2 個は入りませんでした。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="668"/>
        <source>A new bank of the %1 results chosen.</source>
        <translation>選んだ %1 個の結果で新しいバンクを作りました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="674"/>
        <source>Choose a patch in any list to play it on the processor.</source>
        <translation>プロセッサーで鳴らすパッチをどれかのリストで選んでください。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="679"/>
        <source>The processor plays %1; Esc plays the editor&apos;s patch again.</source>
        <translation>プロセッサーは %1 を鳴らしています。Esc でエディターのパッチに戻ります。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="684"/>
        <source>The processor plays the editor&apos;s patch again.</source>
        <translation>プロセッサーはエディターのパッチに戻りました。</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="742"/>
        <source>Open Bank at This Patch</source>
        <translation>このパッチのバンクを開く</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="745"/>
        <source>Use in Sound Design</source>
        <translation>サウンドデザインで使う</translation>
    </message>
    <message>
        <location filename="../../library/ui/librarywin.cpp" line="752"/>
        <source>Add a Folder of Banks</source>
        <translation>バンクのフォルダを追加</translation>
    </message>
</context>
<context>
    <name>TMainWin</name>
    <message>
        <location filename="../ui/mainwin.cpp" line="135"/>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="165"/>
        <source>The processor plays %1 (from the library).</source>
        <translation>プロセッサーは %1 を鳴らしています（ライブラリーから）。</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="166"/>
        <source>Not on line: nothing plays on the processor.</source>
        <translation>オンラインではありません。プロセッサーでは何も鳴りません。</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="171"/>
        <source>The processor plays %1 again.</source>
        <translation>プロセッサーは再び %1 を鳴らしています。</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="175"/>
        <source>New Bank from Selection</source>
        <translation>選択から新しいバンク</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="202"/>
        <source>Unsaved work cannot be kept for recovery in %1: %2</source>
        <translation>保存されていない作業を %1 に残せません: %2</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="353"/>
        <source>Real MIDI ports cannot be used: %1</source>
        <translation>MIDI ポートを使えません: %1</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="500"/>
        <source>The ORB-8&apos;s custom settings differ from those of %1 (%2).</source>
        <translation>ORB-8のカスタム設定は%1のものと異なります（%2）。</translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="558"/>
        <source>On &amp;Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="558"/>
        <source>Off &amp;Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwin.cpp" line="467"/>
        <source>Comparing: the patch as last loaded, saved or received (read-only)</source>
        <translation>比較中: 最後に読み込み・保存・受信したパッチ (読み取り専用)</translation>
    </message>
</context>
<context>
    <name>TMemoWin</name>
    <message>
        <location filename="../../editors/ui/memo.cpp" line="46"/>
        <source>COMMENT</source>
        <translation>コメント</translation>
    </message>
    <message>
        <location filename="../../editors/ui/memo.cpp" line="102"/>
        <source>The comment was not stored: as UTF-8 it is longer than 255 bytes. Shorten it.</source>
        <translation>コメントは保存されませんでした。UTF-8 で 255 バイトを超えています。短くしてください。</translation>
    </message>
    <message>
        <location filename="../../editors/ui/memo.cpp" line="110"/>
        <source>Comment of %1</source>
        <translation>%1 のコメント</translation>
    </message>
    <message>
        <location filename="../../editors/ui/memo.cpp" line="162"/>
        <source>A comment holds at most %1 characters (255 bytes).</source>
        <translation>コメントは %1 文字 (255 バイト) までです。</translation>
    </message>
</context>
<context>
    <name>TMidi</name>
    <message>
        <location filename="../../device/ui/midi.cpp" line="68"/>
        <source>no devices</source>
        <translation>デバイスがありません</translation>
    </message>
</context>
<context>
    <name>TMidiMonitorWin</name>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="26"/>
        <location filename="../../device/ui/midimonitorwin.cpp" line="141"/>
        <location filename="../../device/ui/midimonitorwin.cpp" line="150"/>
        <source>MIDI Monitor</source>
        <translation>MIDIモニター</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="44"/>
        <source>Out</source>
        <translation>送信</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="49"/>
        <source>All messages</source>
        <translation>すべてのメッセージ</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="50"/>
        <source>SysEx only</source>
        <translation>SysEx のみ</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="51"/>
        <source>Channel messages only</source>
        <translation>チャンネルメッセージのみ</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="52"/>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="55"/>
        <source>Clear</source>
        <translation>消去</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="57"/>
        <source>Save as SysEx...</source>
        <translation>SysEx として保存...</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="59"/>
        <source>The SysEx messages shown, in order, as a .syx file</source>
        <translation>表示している SysEx メッセージを順に .syx ファイルに保存します</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="63"/>
        <source>Show:</source>
        <translation>表示:</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="126"/>
        <source>%1 of %2 messages shown</source>
        <translation>%2 個中 %1 個のメッセージを表示</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="127"/>
        <source>%1 (paused)</source>
        <translation>%1（一時停止中）</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="141"/>
        <source>No SysEx message is shown: there is nothing to save.</source>
        <translation>表示している SysEx メッセージがないので、保存するものがありません。</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="144"/>
        <source>SysEx files (*.syx)</source>
        <translation>SysEx ファイル (*.syx)</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="150"/>
        <source>%1 can&apos;t be written: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <location filename="../../device/ui/midimonitorwin.cpp" line="153"/>
        <source>%1 SysEx messages saved in %2</source>
        <translation>%1 個の SysEx メッセージを %2 に保存しました</translation>
    </message>
</context>
<context>
    <name>TProgressWin</name>
    <message>
        <location filename="../../device/ui/progresswin.cpp" line="25"/>
        <source>Abort</source>
        <translation>中止</translation>
    </message>
</context>
<context>
    <name>TProjectWindow</name>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="31"/>
        <location filename="../../editors/ui/projectwin.cpp" line="90"/>
        <source>Use the Processor&apos;s Custom Settings</source>
        <translation>ORB-8のカスタム設定を使う</translation>
    </message>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="32"/>
        <source>The bank&apos;s CUSTOM patches then play here as they do on the ORB-8 (Undo takes it back)</source>
        <translation>このバンクのCUSTOMタイプのパッチがORB-8と同じ音になります（元に戻すで取り消せます）</translation>
    </message>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="79"/>
        <source>The ORB-8&apos;s custom settings differ from this bank&apos;s: %1.</source>
        <translation>ORB-8のカスタム設定はこのバンクのものと異なります：%1。</translation>
    </message>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="198"/>
        <location filename="../../editors/ui/projectwin.cpp" line="230"/>
        <source>Copy to %1</source>
        <translation>%1 にコピー</translation>
    </message>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="224"/>
        <source>Paste %1 patches to %2</source>
        <translation>%1 個のパッチを %2 に貼り付け</translation>
    </message>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="224"/>
        <source>Paste to %1</source>
        <translation>%1 に貼り付け</translation>
    </message>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="185"/>
        <location filename="../../editors/ui/projectwin.cpp" line="240"/>
        <source>Copy %1 patches to %2</source>
        <translation>%1 個のパッチを %2 へコピー</translation>
    </message>
    <message>
        <location filename="../../editors/ui/projectwin.cpp" line="214"/>
        <source>%1 of the patches did not fit below %2 and were left out.</source>
        <translation>%2 より下に入りきらなかった %1 個のパッチは入れませんでした。</translation>
    </message>
</context>
<context>
    <name>TRtmPopUp</name>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="20"/>
        <source>RTM</source>
        <translation>RTM</translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="22"/>
        <source>MAX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="22"/>
        <source>MIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="22"/>
        <source>DESTINATION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="22"/>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="118"/>
        <source>CTRL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="31"/>
        <source>DRIVE</source>
        <translation>DRIVE</translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="32"/>
        <source>EQ</source>
        <translation>EQ</translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="33"/>
        <source>MOD</source>
        <translation>MOD</translation>
    </message>
    <message>
        <location filename="../../editors/ui/rtmpopwin.cpp" line="34"/>
        <source>DLY/REV</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSoundDesignWin</name>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="42"/>
        <source>Switches</source>
        <translation>スイッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="43"/>
        <source>Drive type</source>
        <translation>ドライブのタイプ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="44"/>
        <source>Drive</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="45"/>
        <source>VNR</source>
        <translation>VNR</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="46"/>
        <source>EQ</source>
        <translation>EQ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="47"/>
        <source>Mod type</source>
        <translation>MODのタイプ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="48"/>
        <source>Mod</source>
        <translation>MOD</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="49"/>
        <source>Dly/Rev type</source>
        <translation>DLY/REVのタイプ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="50"/>
        <source>Dly/Rev</source>
        <translation>DLY/REV</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="51"/>
        <source>Level</source>
        <translation>レベル</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="52"/>
        <source>Controllers</source>
        <translation>コントローラー</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="53"/>
        <source>RTM</source>
        <translation>RTM</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="54"/>
        <source>Custom settings</source>
        <translation>カスタム設定</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="62"/>
        <source>Which modules are on</source>
        <translation>どのモジュールがオンか</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="63"/>
        <source>The drive type</source>
        <translation>ドライブのタイプ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="64"/>
        <source>The drive&apos;s values, custom drive selections and RTM settings, and its switch</source>
        <translation>ドライブの値、カスタムドライブの選択、RTM設定とスイッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="65"/>
        <source>The noise reduction level</source>
        <translation>ノイズリダクションのレベル</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="66"/>
        <source>The EQ&apos;s levels, frequencies and RTM settings, and its switch</source>
        <translation>EQのレベル、周波数、RTM設定とスイッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="67"/>
        <source>The Mod type</source>
        <translation>モジュレーションのタイプ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="68"/>
        <source>The Mod values and RTM settings, and its switch</source>
        <translation>モジュレーションの値、RTM設定とスイッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="69"/>
        <source>The Dly/Rev type</source>
        <translation>ディレイ/リバーブのタイプ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="70"/>
        <source>The Dly/Rev values and RTM settings, and its switch</source>
        <translation>ディレイ/リバーブの値、RTM設定とスイッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="71"/>
        <source>The patch level and VOL RTM</source>
        <translation>パッチレベルとVOL RTM</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="72"/>
        <source>The controller assignments and values</source>
        <translation>コントローラーの割り当てと値</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="73"/>
        <source>Every RTM setting of every module</source>
        <translation>すべてのモジュールのすべてのRTM設定</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="75"/>
        <source>The bank&apos;s custom settings: a CUSTOM patch&apos;s values are shared by every patch of that type in the bank</source>
        <translation>バンクのカスタム設定：CUSTOMタイプのパッチの値は、バンク内の同じタイプのすべてのパッチが共有します</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="84"/>
        <source>; the bank&apos;s custom settings changed: %1</source>
        <translation>。バンクのカスタム設定が変わりました：%1</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="93"/>
        <source>Randomise %1 %, seed %2</source>
        <translation>ランダム化 %1 %、シード %2</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="95"/>
        <source>Nudge towards %1 %, seed %2</source>
        <translation>近づける %1 %、シード %2</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="97"/>
        <source>Nudge away %1 %, seed %2</source>
        <translation>遠ざける %1 %、シード %2</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="101"/>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="111"/>
        <source>Sound Design</source>
        <translation>サウンドデザイン</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="116"/>
        <source>Keep (locked parts never change)</source>
        <translation>固定（ロックした部分は変わりません）</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="136"/>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="396"/>
        <source>Single Parameters...</source>
        <translation>個別のパラメーター...</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="139"/>
        <source>Lock single parameters of this patch (a part&apos;s lock keeps all of its own)</source>
        <translation>このパッチのパラメーターを個別にロックします（部分のロックはその部分のすべてを固定します）</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="156"/>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="174"/>
        <source>Randomise</source>
        <translation>ランダム化</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="165"/>
        <source>The same seed on the same patch gives the same result</source>
        <translation>同じパッチに同じシードを使うと同じ結果になります</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="166"/>
        <source>New Seed</source>
        <translation>新しいシード</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="167"/>
        <source>In the style of the open banks</source>
        <translation>開いているバンクの傾向に合わせる</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="169"/>
        <source>New values are drawn from what the patches of the open banks use with the same effect type</source>
        <translation>開いているバンクのパッチが同じエフェクトタイプで使っている値から新しい値を選びます</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="170"/>
        <source>and of the library</source>
        <translation>ライブラリの傾向も</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="172"/>
        <source>The library&apos;s patches of the same types guide the new values too</source>
        <translation>同じタイプのライブラリのパッチも新しい値の手がかりにします</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="180"/>
        <source>Make Variations</source>
        <translation>バリエーションを作る</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="182"/>
        <source>A new bank of randomisations of this patch at this amount and these locks, one seed after another</source>
        <translation>このパッチをこの量とロックでランダム化したものを、シードを一つずつ進めて新しいバンクに作ります</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="186"/>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="220"/>
        <source>Amount:</source>
        <translation>量:</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="188"/>
        <source>Seed:</source>
        <translation>シード:</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="202"/>
        <source>Nudge towards or away from patches</source>
        <translation>パッチに近づける・遠ざける</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="206"/>
        <source>Patch %1:</source>
        <translation>パッチ %1:</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="214"/>
        <source>Towards</source>
        <translation>近づける</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="216"/>
        <source>Away</source>
        <translation>遠ざける</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="227"/>
        <source>Morph towards a patch (plays while it moves; Esc goes back)</source>
        <translation>パッチへモーフィング（動かしながら試聴、Escで戻る）</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="237"/>
        <source>Towards:</source>
        <translation>目標:</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="239"/>
        <source>this patch</source>
        <translation>このパッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="241"/>
        <source>the other</source>
        <translation>目標のパッチ</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="242"/>
        <source>Steps into a New Bank</source>
        <translation>途中を新しいバンクに</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="244"/>
        <source>A new bank of the way from this patch to the other, in as many steps as variations</source>
        <translation>このパッチから相手までの途中を、バリエーションの数だけの段階で新しいバンクに作ります</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="249"/>
        <source>Learn Pedal</source>
        <translation>ペダルを学習</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="252"/>
        <source>Press, then move the processor&apos;s pedal or a MIDI controller: it moves the morph</source>
        <translation>押してから、プロセッサーのペダルか MIDI コントローラーを動かしてください。それでモーフィングを動かします</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="253"/>
        <source>Forget</source>
        <translation>解除</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="263"/>
        <source>Take modules from a patch</source>
        <translation>パッチからモジュールを取り込む</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="266"/>
        <source>From:</source>
        <translation>取り込み元:</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="273"/>
        <source>Take</source>
        <translation>取り込む</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="278"/>
        <source>Recent results (choose one to hear it again)</source>
        <translation>最近の結果（選ぶともう一度聴けます）</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="392"/>
        <source>Kept by a part&apos;s lock</source>
        <translation>部分のロックで固定されています</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="396"/>
        <source>Single Parameters (%1 locked)...</source>
        <translation>個別のパラメーター（%1 個ロック）...</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="418"/>
        <source>Library: %1</source>
        <translation>ライブラリ: %1</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="422"/>
        <source>%1 is offered in every patch list.</source>
        <translation>%1 をすべてのパッチ一覧に追加しました。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="437"/>
        <source>No patch in the editor</source>
        <translation>エディターにパッチがありません</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="437"/>
        <source>Patch: %1</source>
        <translation>パッチ: %1</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="446"/>
        <source>The patch changed; a morph starts from it again.</source>
        <translation>パッチが変わりました。モーフはそこから始まります。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="468"/>
        <source>Randomise %1 %</source>
        <translation>ランダム化 %1 %</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="476"/>
        <source>%1, seed %2</source>
        <translation>%1、シード %2</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="488"/>
        <source>%1 variations at %2 %</source>
        <translation>%2 %のバリエーション%1個</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="489"/>
        <source>%1 variations, seeds %2 on, in a new bank</source>
        <translation>バリエーション%1個（シード%2から）を新しいバンクに作りました</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="503"/>
        <source>%1 morph steps</source>
        <translation>モーフの段階%1個</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="504"/>
        <source>%1 steps towards %2, in a new bank</source>
        <translation>%2への%1段階を新しいバンクに作りました</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="514"/>
        <source>Choose up to four patches to nudge towards or away from.</source>
        <translation>近づける・遠ざけるパッチを4つまで選んでください。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="518"/>
        <source>Nudge away %1 %</source>
        <translation>遠ざける %1 %</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="518"/>
        <source>Nudge towards %1 %</source>
        <translation>近づける %1 %</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="498"/>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="560"/>
        <source>Choose the patch to morph towards.</source>
        <translation>モーフィングの目標パッチを選んでください。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="564"/>
        <source>That is the patch in the editor itself: choose another to morph towards.</source>
        <translation>それはエディターのパッチそのものです。モーフする相手に別のパッチを選んでください。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="572"/>
        <source>Morph %1 %</source>
        <translation>モーフィング %1 %</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="98"/>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="578"/>
        <source>Morph %1 % towards %2</source>
        <translation>%2 へモーフィング %1 %</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="597"/>
        <source>Morph</source>
        <translation>モーフィング</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="604"/>
        <source>Morph cancelled.</source>
        <translation>モーフィングを取り消しました。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="673"/>
        <source>Move the pedal or controller that should drive the morph...</source>
        <translation>モーフィングを動かすペダルかコントローラーを動かしてください...</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="675"/>
        <source>Pedal: controller %1 on channel %2 moves the morph</source>
        <translation>ペダル: チャンネル %2 のコントローラー %1 がモーフィングを動かします</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="679"/>
        <source>No pedal moves the morph.</source>
        <translation>モーフィングを動かすペダルはありません。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="706"/>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="708"/>
        <source>Back to %1</source>
        <translation>%1 に戻す</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="719"/>
        <source>Choose a patch and the modules to take from it.</source>
        <translation>取り込むパッチとモジュールを選んでください。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="723"/>
        <source>That is the patch in the editor itself: choose another to take modules from.</source>
        <translation>それはエディターのパッチそのものです。モジュールを取り込む別のパッチを選んでください。</translation>
    </message>
    <message>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="99"/>
        <location filename="../../sounddesign/ui/sounddesignwin.cpp" line="727"/>
        <source>Take modules from %1</source>
        <translation>%1 からモジュールを取り込む</translation>
    </message>
</context>
<context>
    <name>TrafficModel</name>
    <message>
        <location filename="../../device/ui/trafficmodel.cpp" line="56"/>
        <source>Out</source>
        <translation>送信</translation>
    </message>
    <message>
        <location filename="../../device/ui/trafficmodel.cpp" line="56"/>
        <source>In</source>
        <translation>受信</translation>
    </message>
    <message>
        <location filename="../../device/ui/trafficmodel.cpp" line="73"/>
        <source>Time (s)</source>
        <translation>時刻 (秒)</translation>
    </message>
    <message>
        <location filename="../../device/ui/trafficmodel.cpp" line="74"/>
        <source>Way</source>
        <translation>向き</translation>
    </message>
    <message>
        <location filename="../../device/ui/trafficmodel.cpp" line="75"/>
        <source>Port</source>
        <translation>ポート</translation>
    </message>
    <message>
        <location filename="../../device/ui/trafficmodel.cpp" line="76"/>
        <source>Message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <location filename="../../device/ui/trafficmodel.cpp" line="77"/>
        <source>Bytes</source>
        <translation>バイト</translation>
    </message>
</context>
<context>
    <name>WindowDeviceHost</name>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="18"/>
        <source>Data failure.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="19"/>
        <source>Not be OnLine.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="20"/>
        <source>There are no ORB-8 found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="21"/>
        <source>Couldn&apos;t Open Midi.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="22"/>
        <source>Get Patches from ORB-8.
This takes little while.
Execute?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="23"/>
        <source>Send Patches to ORB-8.
This takes little while.
Execute?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="24"/>
        <source>Get CustomDists from ORB-8.
This takes little while.
Execute?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="25"/>
        <source>Send Filters to ORB-8.
This takes little while.
Execute?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../device/ui/windowhost.cpp" line="253"/>
        <source>ORB-8ED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
