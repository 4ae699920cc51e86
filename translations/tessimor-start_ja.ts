<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
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
</context>
</TS>
