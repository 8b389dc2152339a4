<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
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
</context>
<context>
    <name>TProjectWindow</name>
    <message>
        <source>This Project %1 has not been saved.
Save this?</source>
        <translation>プロジェクト%1は保存されていません。
保存しますか？</translation>
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
</context>
</TS>
