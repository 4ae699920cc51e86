<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>Connection</name>
    <message>
        <source>%1-journal, left by a write that was cut short, must be played back by a program that may write the notebook: open it once in Tessimor or run tessimor-db upgrade (%2)</source>
        <translation>%1-journal は途中で止まった書き込みが残したもので、単語帳に書き込めるプログラムで反映させる必要があります: Tessimor で一度開くか、tessimor-db upgrade を実行してください (%2)</translation>
    </message>
</context>
<context>
    <name>ExchangeError</name>
    <message>
        <source>cannot read it as an Access file</source>
        <translation>Access のファイルとして読めません</translation>
    </message>
    <message>
        <source>there is no table %1</source>
        <translation>表 %1 がありません</translation>
    </message>
    <message>
        <source>table %1 has no column %2</source>
        <translation>表 %1 に列 %2 がありません</translation>
    </message>
    <message>
        <source>read %3 of the %2 rows that table %1 counts: the file was not closed cleanly; compact and repair it in Access first</source>
        <translation>表 %1 の %2 行のうち %3 行しか読めません。正しく閉じられなかったファイルです: Access で最適化と修復をしてから取り込んでください</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>%1行目: %2</translation>
    </message>
    <message>
        <source>the backup cannot replace the notebook itself</source>
        <translation>単語帳そのものには上書きできません</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 はフォルダです</translation>
    </message>
    <message>
        <source>%1 exists already (--force replaces it)</source>
        <translation>%1 は既にあります (--force で上書き)</translation>
    </message>
    <message>
        <source>there is no folder %1</source>
        <translation>フォルダ %1 がありません</translation>
    </message>
    <message>
        <source>cannot write in the folder %1</source>
        <translation>フォルダ %1 に書き込めません</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 に書き込めません</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>フォルダ %1 を作成できません</translation>
    </message>
    <message>
        <source>cannot delete %1</source>
        <translation>%1 を削除できません</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 がありません</translation>
    </message>
    <message>
        <source>%1 is the notebook itself</source>
        <translation>%1 は単語帳そのものです</translation>
    </message>
    <message>
        <source>%1 is not a sound notebook: %2</source>
        <translation>%1 は単語帳として使えません: %2</translation>
    </message>
    <message>
        <source>bytes that are not %1 text</source>
        <translation>%1 として読めない文字があります</translation>
    </message>
    <message>
        <source>UTF-16 files are not read; save the file as CSV UTF-8</source>
        <translation>UTF-16 のファイルは読めません。CSV UTF-8 で保存してください</translation>
    </message>
    <message>
        <source>the separator &apos;%1&apos; is not supported</source>
        <translation>区切り文字「%1」には対応していません</translation>
    </message>
    <message>
        <source>files with HTML fields are not supported</source>
        <translation>HTML を含むファイルには対応していません</translation>
    </message>
    <message>
        <source>a quoted field is never closed</source>
        <translation>引用符 &quot; が閉じられていません</translation>
    </message>
    <message>
        <source>text follows a closing quote</source>
        <translation>閉じた引用符 &quot; の後に文字があります</translation>
    </message>
    <message>
        <source>found %1 fields where %2 belong</source>
        <translation>項目が %1 個あります (%2 個のはずです)</translation>
    </message>
    <message>
        <source>the English is empty</source>
        <translation>英語が空です</translation>
    </message>
    <message>
        <source>the Japanese is empty</source>
        <translation>日本語が空です</translation>
    </message>
    <message>
        <source>cannot write: %1</source>
        <translation>書き込めません: %1</translation>
    </message>
    <message>
        <source>cannot read it: %1</source>
        <translation>読めません: %1</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>大きすぎます</translation>
    </message>
    <message>
        <source>rows %1 hold characters outside the Basic Multilingual Plane (such as 𠮟 or an emoji), which read as &quot;?&quot;; --accept-replacements takes them so</source>
        <translation>%1行目に基本多言語面の外の文字 (𠮟 や絵文字など) があり、「?」としか読めません。--accept-replacements で「?」のまま取り込みます</translation>
    </message>
    <message>
        <source>cannot finish converting it</source>
        <translation>変換を終えられません</translation>
    </message>
    <message>
        <source>it is not an Access file</source>
        <translation>Access のファイルではありません</translation>
    </message>
    <message>
        <source>%1 exists already</source>
        <translation>%1 が既にあります</translation>
    </message>
    <message>
        <source>cannot convert it: cannot replace %1</source>
        <translation>変換できません: %1 を置き換えられません</translation>
    </message>
    <message>
        <source>there is no notebook at %1; &apos;tessimor-db init&apos; creates one</source>
        <translation>単語帳のファイル %1 がありません。tessimor-db init で作成できます</translation>
    </message>
    <message>
        <source>this build of Tessimor cannot read Access files. Either convert the file with Tessimor for Linux (tessimor-db convert) and put the notebook made there in its place, or save the table wordDB from Access as CSV in UTF-8 and import that</source>
        <translation>この版の Tessimor は Access のファイルを読めません。Linux 版の Tessimor で変換 (tessimor-db convert) してできた単語帳をこのファイルの代わりに置くか、Access で表 wordDB を UTF-8 の CSV として保存し、それを取り込んでください</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>Tessimor could not be started.</source>
        <translation>Tessimor を起動できませんでした。</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 分</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>The Access file is unchanged. Tessimor does not start.</source>
        <translation>Access のファイルは変更されていません。Tessimor は起動しません。</translation>
    </message>
    <message>
        <source>Converting the Access file %1 into a notebook stopped unexpectedly (%2).</source>
        <translation>Access のファイル %1 から単語帳への変換が、途中で異常終了しました (%2)。</translation>
    </message>
    <message>
        <source>Converting the Access file %1 into a notebook did not finish within %2, so it was stopped.</source>
        <translation>Access のファイル %1 から単語帳への変換が %2 以内に終わらなかったため、中止しました。</translation>
    </message>
    <message numerus="yes">
        <source>The notebook %1 is an Access file of the old design, to be converted into a new notebook. Characters that cannot be read from it (such as 𠮟 or emoji) are in %n of its words: each would become &quot;?&quot;.</source>
        <translation>
            <numerusform>単語帳 %1 は旧形式の Access のファイルで、新しい単語帳に変換します。そのうち %n 語に、このファイルから読み取れない文字 (𠮟 や絵文字など) があり、それぞれ「?」に置き換わります。</numerusform>
        </translation>
    </message>
    <message>
        <source>Convert it anyway? The Access file is kept unchanged as %1.
No quits and leaves everything as it is.</source>
        <translation>それでも変換しますか? Access のファイルは %1 として変更せずに残します。
「いいえ」を選ぶと、何も変更せずに終了します。</translation>
    </message>
    <message>
        <source>%1 is an Access file, but not a notebook: it has no table wordDB. The tables it holds: %2.</source>
        <translation>%1 は Access のファイルですが、単語帳ではありません (表 wordDB がありません)。含まれている表: %2</translation>
    </message>
    <message>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Nothing was changed. Tessimor does not start; with the file moved elsewhere, it starts with a new notebook.</source>
        <translation>何も変更していません。Tessimor は起動しません。このファイルを別の場所に移すと、新しい単語帳で起動します。</translation>
    </message>
    <message>
        <source>The Access file %1 could not be converted:</source>
        <translation>Access のファイル %1 を変換できませんでした:</translation>
    </message>
    <message>
        <source>The notebook %1 could not be created:</source>
        <translation>単語帳 %1 を作成できませんでした:</translation>
    </message>
    <message>
        <source>Today&apos;s backup of the notebook could not be made:</source>
        <translation>今日の単語帳のバックアップを作成できませんでした:</translation>
    </message>
    <message>
        <source>Tessimor starts anyway.</source>
        <translation>Tessimor はこのまま起動します。</translation>
    </message>
    <message>
        <source>The notebook %1 is damaged, and there is no sound backup of it in %2.</source>
        <translation>単語帳 %1 は壊れています。%2 には正常なバックアップがありません。</translation>
    </message>
    <message>
        <source>Nothing was changed. Tessimor does not start.</source>
        <translation>何も変更していません。Tessimor は起動しません。</translation>
    </message>
    <message>
        <source>The notebook %1 is damaged.</source>
        <translation>単語帳 %1 は壊れています。</translation>
    </message>
    <message>
        <source>Restore its backup of %1? The damaged notebook is kept as %2.
No quits and leaves everything as it is.</source>
        <translation>%1 のバックアップから復元しますか? 壊れた単語帳は %2 として残します。
「いいえ」を選ぶと、何も変更せずに終了します。</translation>
    </message>
    <message>
        <source>The backup %1 could not be restored:</source>
        <translation>バックアップ %1 から復元できませんでした:</translation>
    </message>
    <message>
        <source>The notebook is as it was. Tessimor does not start.</source>
        <translation>単語帳は元のままです。Tessimor は起動しません。</translation>
    </message>
    <message>
        <source>Tessimor now keeps its notebook in %1, where Windows lets it write. The old notebook %2 is an Access file, which this build of Tessimor cannot read.</source>
        <translation>Tessimor は単語帳を、Windows が書き込みを許す %1 に置くようになりました。以前の単語帳 %2 は Access のファイルで、この Tessimor では読めません。</translation>
    </message>
    <message>
        <source>To bring its words over, either convert it with Tessimor for Linux (tessimor-db convert) and put the notebook made there in place of %1, or save its table wordDB from Access as CSV in UTF-8 and import that with tessimor-db import.</source>
        <translation>単語を移すには、Linux 版の Tessimor で変換し (tessimor-db convert)、できた単語帳を %1 と置き換えるか、Access でテーブル wordDB を UTF-8 の CSV として保存し、tessimor-db import で取り込んでください。</translation>
    </message>
    <message>
        <source>%1 is left as it is. Tessimor starts with a new notebook.</source>
        <translation>%1 はそのままです。Tessimor は新しい単語帳で起動します。</translation>
    </message>
    <message>
        <source>the copy could not be written</source>
        <translation>コピーを書き込めませんでした</translation>
    </message>
    <message>
        <source>The old notebook %1 could not be brought over to %2:</source>
        <translation>以前の単語帳 %1 を %2 へ移せませんでした:</translation>
    </message>
    <message>
        <source>%1 is left as it is. Tessimor does not start.</source>
        <translation>%1 はそのままです。Tessimor は起動しません。</translation>
    </message>
</context>
<context>
    <name>Notebook</name>
    <message>
        <source>%1 already exists</source>
        <translation>%1 は既にあります</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>フォルダ %1 を作成できません</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>%1 を作成できません</translation>
    </message>
</context>
<context>
    <name>NotebookCheck</name>
    <message>
        <source>damaged at page %1</source>
        <translation>%1 ページ目が壊れています</translation>
    </message>
    <message>
        <source>damaged: %1</source>
        <translation>壊れています: %1</translation>
    </message>
    <message>
        <source>table wordDB is missing</source>
        <translation>表 wordDB がありません</translation>
    </message>
    <message>
        <source>column %1 of wordDB is missing</source>
        <translation>wordDB の列 %1 がありません</translation>
    </message>
    <message>
        <source>the index %1 does not match the table</source>
        <translation>索引 %1 が表と一致しません</translation>
    </message>
</context>
<context>
    <name>SearchIndex</name>
    <message>
        <source>trigger %1 of the search index is missing</source>
        <translation>検索用の索引のトリガー %1 がありません</translation>
    </message>
    <message>
        <source>trigger %1 of the search index is out of date</source>
        <translation>検索用の索引のトリガー %1 が古くなっています</translation>
    </message>
    <message>
        <source>the search index is out of step with wordDB (%1 texts differ)</source>
        <translation>検索用の索引が wordDB と食い違っています (%1 件のテキストが異なります)</translation>
    </message>
    <message>
        <source>tessimor-db upgrade makes the index afresh</source>
        <translation>tessimor-db upgrade で索引を作り直せます</translation>
    </message>
</context>
<context>
    <name>StoreError</name>
    <message>
        <source>the database is in use by another program; try again in a moment</source>
        <translation>データベースが他のプログラムに使用されています。しばらくしてからもう一度お試しください。</translation>
    </message>
    <message>
        <source>cannot write to the database; check the permissions of the file and its folder</source>
        <translation>データベースに書き込めません。ファイルやフォルダの書き込み権限を確認してください。</translation>
    </message>
    <message>
        <source>the disk is full, so nothing could be written</source>
        <translation>ディスクの空き容量が足りないため、書き込めませんでした。</translation>
    </message>
    <message>
        <source>reading or writing the database failed; check the free space on the disk</source>
        <translation>データベースの読み書き中にエラーが発生しました。ディスクの空き容量などを確認してください。</translation>
    </message>
    <message>
        <source>the database file is damaged</source>
        <translation>データベースファイルが壊れています。</translation>
    </message>
    <message>
        <source>cannot open the database file</source>
        <translation>データベースファイルを開けません。</translation>
    </message>
    <message>
        <source>the text is too long</source>
        <translation>入力された文字が長すぎます。</translation>
    </message>
    <message>
        <source>the database reported an error</source>
        <translation>データベースの処理中にエラーが発生しました。</translation>
    </message>
</context>
<context>
    <name>TessimorDb</name>
    <message>
        <source>Writes every pair of the notebook, newest first, to FILE, or to standard output
when FILE is left out. FILE appears only once it is complete.

The formats:
  anki   (the default) a deck for flashcard programs: UTF-8, the header lines
         #separator:tab and #html:false, then English&lt;TAB&gt;Japanese
  csv    for spreadsheets: UTF-8 with a byte-order mark, CRLF line ends,
         the header UpDay,English,Japanese
  tsv    UTF-8, the header UpDay&lt;TAB&gt;English&lt;TAB&gt;Japanese
  mnemosyne  for Mnemosyne&apos;s &quot;Tab-separated text file&quot; import, English on
         the front: UTF-8, no header, English&lt;TAB&gt;Japanese, each side as HTML
         (&amp; &lt; &quot; as entities, line breaks and trailing spaces as &amp;#N;). A tab
         is written as a space and a pair with an empty side is left out;
         both are named on standard error. For Mnemosyne only: import reads
         its references as they stand.

In anki, csv and tsv, a field holding the separator, a line break or a double
quote, or starting with #, is double-quoted with its quotes doubled.</source>
        <translation>単語帳のすべての組を新しい順に FILE へ、FILE を省くと標準出力へ書き出します。
FILE は書き終えてはじめて現れます。

形式:
  anki   (既定) 単語カードのプログラム用のデッキ: UTF-8、ヘッダー行
         #separator:tab と #html:false、続いて 英語&lt;TAB&gt;日本語
  csv    表計算ソフト用: バイトオーダーマーク付きの UTF-8、改行は CRLF、
         ヘッダーは UpDay,English,Japanese
  tsv    UTF-8、ヘッダーは UpDay&lt;TAB&gt;English&lt;TAB&gt;Japanese
  mnemosyne  Mnemosyne のタブ区切りテキスト (Tab-separated) の取り込み用で、
         英語が表面: UTF-8、ヘッダーなし、英語&lt;TAB&gt;日本語、それぞれ HTML
         (&amp; &lt; &quot; は実体参照、改行と末尾の空白は &amp;#N;)。タブは空白にして
         書き出し、片側が空の組は書き出しません。どちらも標準エラー出力に
         示します。Mnemosyne 専用です: import は参照をそのまま読みます。

anki、csv、tsv では、区切り文字、改行、二重引用符を含む項目と # で始まる
項目を二重引用符で囲み、中の二重引用符は二つ重ねます。</translation>
    </message>
    <message>
        <source>Adds the pairs of FILE to the notebook. FILE may be anything export writes, a plain
list of English and Japanese separated by a tab or a comma (a first line naming the
columns is passed over), or a CSV file saved by a Japanese spreadsheet. UTF-8, with
or without a byte-order mark, and Shift_JIS (CP932) are told apart by themselves.

Pairs the notebook already holds, and repeats inside the file, are skipped by the
rule Register uses: both texts equal, the English ignoring case. A valid UpDay in
the file is kept; other pairs get the time of the import. The pairs are added in one
step: a line that cannot be read stops the import with its number, and nothing is
added. Lines starting with # are comments.

FILE may also be an Access database (.mdb) holding the table wordDB. Rows with an
empty English or Japanese are skipped and named. A character outside the Basic
Multilingual Plane (such as 𠮟 or an emoji) cannot be read from it and
comes back as &quot;?&quot;: the import names those rows and adds nothing unless
--accept-replacements is given.</source>
        <translation>FILE の組を単語帳に追加します。FILE は export が書き出すどの形式でも、英語と
日本語をタブかコンマで区切った一覧 (列の名前を並べた最初の行は読み飛ばします)
でも、日本語の表計算ソフトで保存した CSV でもかまいません。UTF-8 (バイト
オーダーマークの有無を問わず) と Shift_JIS (CP932) は自動で見分けます。

単語帳に既にある組とファイル内の重複は、「Register」ボタンと同じ規則で
スキップします: 両方のテキストが等しいこと、英語は大文字と小文字を区別
しません。ファイルの有効な UpDay はそのまま使い、それ以外の組には取り込んだ
時刻を記録します。組は一度に追加します: 読めない行があればその行番号を
示して取り込みを止め、何も追加しません。# で始まる行はコメントです。

FILE は表 wordDB を持つ Access のデータベース (.mdb) でもかまいません。
English か Japanese が空の行はスキップして行番号を示します。基本多言語面の
外の文字 (𠮟 や絵文字など) は読み取れず「?」になります: 取り込みはそれらの
行を示し、--accept-replacements がなければ何も追加しません。</translation>
    </message>
    <message>
        <source>Turns an Access database left where the notebook lives (the table wordDB of the
notebook&apos;s old design) into a notebook at that place, and keeps the Access file
beside it as word.mdb.access, unchanged. The pairs are read as import reads an
Access file; the new notebook appears only once it is complete. A conversion cut
short (the Access file already kept, the new notebook not yet in place) is
finished by the next one. With --if-access, it succeeds quietly when there is
neither an Access file nor a conversion to finish.</source>
        <translation>単語帳の場所に残された Access のデータベース (単語帳の古い設計の表 wordDB)
をその場所で単語帳に変換し、Access のファイルはそのまま word.mdb.access と
して横に残します。組は import が Access のファイルを読むのと同じように
読みます。新しい単語帳は完成してはじめて現れます。途中で止まった変換
(Access のファイルは退避済みで、新しい単語帳がまだ置かれていない) は次の
変換が仕上げます。--if-access では、Access のファイルも仕上げる変換もなければ
何も言わずに成功します。</translation>
    </message>
    <message>
        <source>%1 pairs written with a space for each tab:</source>
        <translation>タブを空白にして書き出した組 %1件:</translation>
    </message>
    <message>
        <source>%1 pairs left out, one side empty:</source>
        <translation>片側が空のため書き出さなかった組 %1件:</translation>
    </message>
    <message>
        <source>%1 pairs written with U+FFFD for each NUL:</source>
        <translation>NUL を U+FFFD にして書き出した組 %1件:</translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation>標準出力に書き込めません</translation>
    </message>
    <message>
        <source>%1 exists already; --force replaces it</source>
        <translation>%1 は既にあります。--force で上書きします</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>exported %1 pairs to %2</source>
        <translation>%2 に %1件を書き出しました</translation>
    </message>
    <message>
        <source>would add %1, skipped %2 (%3 already in the notebook, %4 repeated in the file)</source>
        <translation>追加予定 %1件、スキップ %2件 (登録済み %3件、ファイル内の重複 %4件)</translation>
    </message>
    <message>
        <source>added %1, skipped %2 (%3 already in the notebook, %4 repeated in the file)</source>
        <translation>追加 %1件、スキップ %2件 (登録済み %3件、ファイル内の重複 %4件)</translation>
    </message>
    <message>
        <source>%1 of them without a valid UpDay: stamped with the time of the import</source>
        <translation>うち %1件は UpDay がないため取り込み時刻を記録</translation>
    </message>
    <message>
        <source>passed over %1 comment lines starting with #</source>
        <translation># で始まるコメント行 %1行を読み飛ばしました</translation>
    </message>
    <message>
        <source>skipped rows %1 of wordDB: an empty English or Japanese</source>
        <translation>English または Japanese が空の行を読み飛ばしました: %1行目</translation>
    </message>
    <message>
        <source>rows %1 of wordDB taken with &quot;?&quot; for characters outside the Basic Multilingual Plane</source>
        <translation>%1行目は基本多言語面の外の文字を「?」として取り込みました</translation>
    </message>
    <message>
        <source>%1 pairs longer than the window&apos;s boxes (English %2, Japanese %3 characters) are taken whole</source>
        <translation>入力欄 (英語 %2字、日本語 %3字) より長い %1組もそのまま取り込みます</translation>
    </message>
    <message>
        <source>take &quot;?&quot; for the characters of an Access file that cannot be read</source>
        <translation>Access のファイルの読めない文字を「?」として取り込む</translation>
    </message>
    <message>
        <source>anki (the default), csv, tsv or mnemosyne</source>
        <translation>anki (既定)、csv、tsv、mnemosyne のいずれか</translation>
    </message>
    <message>
        <source>replace FILE if it exists</source>
        <translation>FILE があれば上書きする</translation>
    </message>
    <message>
        <source>where the pairs go</source>
        <translation>書き出し先</translation>
    </message>
    <message>
        <source>the format is anki, csv, tsv or mnemosyne, not &apos;%1&apos;</source>
        <translation>形式は anki、csv、tsv、mnemosyne のいずれかです (&apos;%1&apos; ではありません)</translation>
    </message>
    <message>
        <source>report what the import would add, and add nothing</source>
        <translation>何を追加するかを示すだけで、何も追加しない</translation>
    </message>
    <message>
        <source>read FILE as utf-8 or shift_jis (also sjis, cp932)</source>
        <translation>FILE を utf-8 または shift_jis (sjis、cp932 も可) として読む</translation>
    </message>
    <message>
        <source>the word file</source>
        <translation>単語のファイル</translation>
    </message>
    <message>
        <source>the encoding is utf-8 or shift_jis, not &apos;%1&apos;</source>
        <translation>文字コードは utf-8 または shift_jis です (&apos;%1&apos; ではありません)</translation>
    </message>
    <message>
        <source>nothing was added</source>
        <translation>何も追加していません</translation>
    </message>
    <message>
        <source>do nothing, quietly, when no Access file is there</source>
        <translation>Access のファイルがなければ、何も言わずに何もしない</translation>
    </message>
    <message>
        <source>converted %1; the Access file is kept as %2</source>
        <translation>%1 を変換しました。Access のファイルは %2 として残しています</translation>
    </message>
    <message>
        <source>The companion command of the Tessimor vocabulary notebook.

Commands:
  path     print where the notebook&apos;s file is
  init     create the notebook&apos;s file with an empty word table;
           refuses to touch a file that already exists
  export   write every pair to a file or to standard output
           (a flashcard deck, CSV for spreadsheets, or TSV)
  import   add the pairs of a file, skipping those already there
  backup   copy the notebook&apos;s file, consistently, even while in use;
           with --daily, keep one copy a day in a folder
  restore  put a backup back as the notebook
  check    test the notebook&apos;s file for damage
  convert  turn an Access word.mdb where the notebook lives into a
           notebook, keeping the Access file as word.mdb.access
  upgrade  add the search index to a notebook made without it

&apos;tessimor-db COMMAND --help&apos; tells more of each command.
Exit status: 0 success, 1 refused input, 2 usage error.</source>
        <translation>単語帳 Tessimor に付属するコマンドです。

コマンド:
  path     単語帳のファイルの場所を表示する
  init     空の単語表を持つ単語帳のファイルを作成する。
           既にあるファイルには手を触れない
  export   すべての組をファイルか標準出力に書き出す
           (単語カードのデッキ、表計算ソフト用の CSV、TSV)
  import   ファイルの組を、既に単語帳にあるものを除いて追加する
  backup   単語帳のファイルを、使用中でも一貫した状態でバックアップ
           する。--daily では、フォルダに1日1つバックアップを残す
  restore  バックアップを単語帳として戻す
  check    単語帳のファイルが壊れていないか調べる
  convert  単語帳の場所にある Access の word.mdb を単語帳に変換し、
           Access のファイルを word.mdb.access として残す
  upgrade  検索用の索引がない単語帳に索引を加える

各コマンドの詳細は &apos;tessimor-db COMMAND --help&apos; で表示します。
終了ステータス: 0 成功、1 入力を拒否、2 使い方の誤り。</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>このヘルプを表示する</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>&apos;%1 --help&apos; で使い方を確かめてください。</translation>
    </message>
    <message>
        <source>&apos;%1&apos; needs FILE</source>
        <translation>&apos;%1&apos; には FILE が必要です</translation>
    </message>
    <message>
        <source>&apos;%1&apos; takes no arguments</source>
        <translation>&apos;%1&apos; は引数を取りません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; takes one FILE</source>
        <translation>&apos;%1&apos; が取る FILE は1つです</translation>
    </message>
    <message>
        <source>the command and its own options</source>
        <translation>コマンドとそのオプション</translation>
    </message>
    <message>
        <source>a command is needed</source>
        <translation>コマンドを指定してください</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>&apos;%1&apos; というコマンドはありません</translation>
    </message>
    <message>
        <source>Prints where the notebook&apos;s file is: $XDG_DATA_HOME/tessimor/word.mdb,
by default ~/.local/share/tessimor/word.mdb.</source>
        <translation>単語帳のファイルの場所を表示します: $XDG_DATA_HOME/tessimor/word.mdb、
既定では ~/.local/share/tessimor/word.mdb です。</translation>
    </message>
    <message>
        <source>Creates the notebook&apos;s file with an empty word table. Refuses to touch a file
that already exists.</source>
        <translation>空の単語表を持つ単語帳のファイルを作成します。既にあるファイルには手を
触れません。</translation>
    </message>
    <message>
        <source>Adds the search index and the triggers that keep it in step to a notebook made
without them, or makes them afresh when they are out of date or out of step,
in one transaction; refuses while another program writes to it. With
--rebuild, makes the index afresh whatever its state.</source>
        <translation>検索用の索引と、それを単語表に合わせ続けるトリガーを、それらなしで作られた
単語帳に加えます。古くなったり食い違ったりしていれば作り直します。どちらも
一つのトランザクションで行い、他のプログラムが書き込み中なら拒否します。
--rebuild では、状態にかかわらず索引を作り直します。</translation>
    </message>
    <message>
        <source>Copies the notebook&apos;s file to FILE as one consistent moment, also while
Tessimor has it open and is writing to it. The copy is itself a notebook file.

With --daily DIR, makes DIR/word-YYYY-MM-DD.mdb for today when it is missing,
then deletes the oldest notebooks so named for today or before beyond the
newest N (--keep, 14). Other files are left alone.</source>
        <translation>単語帳のファイルを、ある一時点の一貫した状態で FILE に複製します。Tessimor
が開いて書き込んでいる最中でもかまいません。複製もそれ自体が単語帳のファイル
です。

--daily DIR では、今日の DIR/word-YYYY-MM-DD.mdb がなければ作り、そう
名付けられた今日までの単語帳のうち新しい N 個 (--keep、14) を超える古いもの
を削除します。ほかのファイルには手を触れません。</translation>
    </message>
    <message>
        <source>Puts FILE, a backup, back as the notebook once a check finds it whole, also while
Tessimor has the notebook open. The notebook as it was is first saved beside it
as word.mdb.before-restore; restoring that undoes it. Refused while another
program is writing the notebook.</source>
        <translation>バックアップ FILE を、検査で壊れていなければ単語帳として戻します。Tessimor
が単語帳を開いていてもかまいません。元の単語帳は先に word.mdb.before-restore
として横に保存し、それを戻せば元に戻ります。他のプログラムが単語帳に書き込み
中なら拒否します。</translation>
    </message>
    <message>
        <source>Tests the notebook&apos;s file: the database&apos;s integrity check, and the table
wordDB with its columns UpDay, English and Japanese. Exit status 0 only when
the file is sound; each fault found is printed on standard error.</source>
        <translation>単語帳のファイルを検査します: データベースの整合性検査と、列 UpDay、English、
Japanese を持つ表 wordDB。終了ステータスはファイルに問題がないときだけ 0 で、
見つかった問題はそれぞれ標準エラー出力に示します。</translation>
    </message>
    <message>
        <source>cannot create the notebook: %1</source>
        <translation>単語帳を作成できません: %1</translation>
    </message>
    <message>
        <source>created %1</source>
        <translation>%1 を作成しました</translation>
    </message>
    <message>
        <source>make the index afresh</source>
        <translation>索引を作り直す</translation>
    </message>
    <message>
        <source>rebuilt the search index of %1 in %2 s</source>
        <translation>%1 の検索用の索引を作り直しました (%2 秒)</translation>
    </message>
    <message>
        <source>up to date: %1</source>
        <translation>最新です: %1</translation>
    </message>
    <message>
        <source>added the search index to %1 in %2 s</source>
        <translation>%1 に検索用の索引を加えました (%2 秒)</translation>
    </message>
    <message>
        <source>keep a copy a day in DIR</source>
        <translation>DIR に1日1つバックアップを残す</translation>
    </message>
    <message>
        <source>with --daily: the copies kept (14)</source>
        <translation>--daily で残すバックアップの数 (14)</translation>
    </message>
    <message>
        <source>where the copy goes</source>
        <translation>バックアップの保存先</translation>
    </message>
    <message>
        <source>--daily takes no FILE</source>
        <translation>--daily には FILE を付けません</translation>
    </message>
    <message>
        <source>--keep goes with --daily</source>
        <translation>--keep は --daily と一緒に使います</translation>
    </message>
    <message>
        <source>--keep wants a number from 1, not &apos;%1&apos;</source>
        <translation>--keep には 1 以上の数を指定します (&apos;%1&apos; ではありません)</translation>
    </message>
    <message>
        <source>backed up to %1</source>
        <translation>%1 にバックアップしました</translation>
    </message>
    <message>
        <source>removed %1</source>
        <translation>%1 を削除しました</translation>
    </message>
    <message>
        <source>the backup</source>
        <translation>バックアップ</translation>
    </message>
    <message>
        <source>restored %1; the notebook as it was is in %2.before-restore</source>
        <translation>%1 を戻しました。元の単語帳は %2.before-restore にあります</translation>
    </message>
    <message>
        <source>%1 is an Access file; &apos;tessimor-db convert&apos; turns it into a notebook</source>
        <translation>%1 は Access のファイルです。tessimor-db convert で単語帳に変換できます</translation>
    </message>
    <message>
        <source>ok: %1 (%2 pairs)</source>
        <translation>問題ありません: %1 (%2件)</translation>
    </message>
    <message>
        <source>the notebook is not sound: %1</source>
        <translation>単語帳のファイルに問題があります: %1</translation>
    </message>
    <message>
        <source>Prints where the notebook&apos;s file is: %APPDATA%\Tessimor\word.mdb.</source>
        <translation>単語帳のファイルの場所を表示します: %APPDATA%\Tessimor\word.mdb</translation>
    </message>
</context>
</TS>
