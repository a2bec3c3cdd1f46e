<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>Arguments</name>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 不接受参数值</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 需要一个参数值</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>one file at a time (%1 and %2 given)</source>
        <translation>一次只能打开一个文件（给出了 %1 和 %2）</translation>
    </message>
    <message>
        <source>an empty file name</source>
        <translation>文件名为空</translation>
    </message>
    <message>
        <source>--forget needs the magazine&apos;s FILE</source>
        <translation>--forget 需要指定杂志文件 FILE</translation>
    </message>
    <message>
        <source>Usage: %1 [FILE]
       %1 --forget FILE
Plays electronic magazines made of Flash movies.

FILE is a magazine (a book executable, made for Windows or for this reader,
whatever its name), a Flash movie (.swf) or a Flash projector (.exe).
Without FILE, a magazine started as a program opens itself; the reader
alone shows a window to drop a magazine on, or to open one (Ctrl+O).

      --forget   remove what the magazine FILE stored to keep between runs
                 (bookmarks, settings, scores) and exit
  -h, --help     show this help and exit
      --version  show the version and exit
  --             end of options (for a FILE whose name starts with -)
</source>
        <translation>用法：%1 [FILE]
      %1 --forget FILE
阅读由 Flash 动画制作的电子杂志。

FILE 是一本杂志（杂志可执行文件，为 Windows 或为本阅读器制作，不论文件名
是什么）、一个 Flash 动画（.swf）或一个 Flash 放映文件（.exe）。
不给出 FILE 时，作为程序启动的杂志会打开它自己；单独启动阅读器则显示一个
窗口，可以把杂志拖到上面，或者打开一本杂志（Ctrl+O）。

      --forget   清除杂志 FILE 为下次阅读保存的记录（书签、设置、分数）后退出
  -h, --help     显示本帮助并退出
      --version  显示版本信息并退出
  --             选项到此结束（用于以 - 开头的文件名 FILE）
</translation>
    </message>
    <message>
        <source>pagoro %1 (product version %2)</source>
        <translation>pagoro %1（产品版本 %2）</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>请运行“%1 --help”查看用法。</translation>
    </message>
    <message>
        <source>
A magazine starts in a borderless window that fills the screen&apos;s free area
(maximized).
  F11            true full screen, above the desktop&apos;s panels, and back
  Escape         the window of the movie&apos;s size (the magazine is told)
  Ctrl+O         open another magazine in its place
  F1             the keys, the version, the licences and the files
  Alt+F4         close the reader (or the magazine&apos;s own Quit button)
Every other key is the magazine&apos;s: most turn their pages with the arrow
keys, Page Up, Page Down and Home.

The start screen shows the shelf of magazines opened lately, newest first:
Enter or a click opens one, Delete forgets it; Ctrl+O opens another.

Files (XDG_STATE_HOME is ~/.local/state, XDG_DATA_HOME ~/.local/share
unless set):
  $XDG_STATE_HOME/pagoro/recent           the shelf; its pictures in covers/
  $XDG_STATE_HOME/pagoro/shared-objects/  what the magazines remember
  $XDG_DATA_HOME/pagoro/NAME/             a magazine&apos;s files while it plays
</source>
        <translation>
杂志在铺满屏幕可用区域的无边框窗口中打开（最大化）。
  F11            切换到真正的全屏（盖住桌面面板），再按一次返回
  Escape         把窗口变为动画的大小（杂志会收到通知）
  Ctrl+O         打开另一本杂志来代替它
  F1             按键、版本、许可证和文件位置
  Alt+F4         关闭阅读器（或使用杂志自己的“退出”按钮）
其他按键都交给杂志：大多数杂志用方向键、Page Up、Page Down 和 Home 翻页。

开始画面显示最近阅读的杂志，最新的在前：按 Enter 或单击打开，按 Delete
移除；按 Ctrl+O 打开其他杂志。

文件（未设置时 XDG_STATE_HOME 为 ~/.local/state，XDG_DATA_HOME 为
~/.local/share）：
  $XDG_STATE_HOME/pagoro/recent           最近阅读列表；封面图片在 covers/ 中
  $XDG_STATE_HOME/pagoro/shared-objects/  杂志保存的内容
  $XDG_DATA_HOME/pagoro/NAME/             杂志播放期间的文件
</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Open a magazine</source>
        <translation>打开杂志</translation>
    </message>
    <message>
        <source>File name, or a path</source>
        <translation>文件名或路径</translation>
    </message>
    <message>
        <source>Show all files</source>
        <translation>显示所有文件</translation>
    </message>
    <message>
        <source>Look in: %1</source>
        <translation>位置：%1</translation>
    </message>
</context>
<context>
    <name>Forget</name>
    <message>
        <source>%1 holds no magazine; nothing forgotten</source>
        <translation>%1 不是杂志，没有清除任何记录</translation>
    </message>
    <message>
        <source>%1 is a folder, not a magazine file; nothing forgotten</source>
        <translation>%1 是文件夹，不是杂志文件；未清除任何记录</translation>
    </message>
    <message>
        <source>cannot read %1: %2; nothing forgotten</source>
        <translation>无法读取 %1：%2；未清除任何记录</translation>
    </message>
    <message>
        <source>%1: could not remove all of %2</source>
        <translation>%1：未能全部删除 %2</translation>
    </message>
    <message>
        <source>%1: nothing was kept for it</source>
        <translation>%1：没有为它保存任何内容</translation>
    </message>
    <message>
        <source>%1: removed %2</source>
        <translation>%1：已删除 %2</translation>
    </message>
</context>
<context>
    <name>Keys</name>
    <message>
        <source>The reader&apos;s keys</source>
        <translation>阅读器的按键</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open another magazine, movie or projector</source>
        <translation>打开另一本杂志、Flash 动画或 Flash 放映文件</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>This sheet</source>
        <translation>本按键表</translation>
    </message>
    <message>
        <source>F11</source>
        <translation>F11</translation>
    </message>
    <message>
        <source>Full screen, and back</source>
        <translation>全屏，再按一次返回</translation>
    </message>
    <message>
        <source>Alt+F4</source>
        <translation>Alt+F4</translation>
    </message>
    <message>
        <source>Close the window and end the reader</source>
        <translation>关闭窗口并退出阅读器</translation>
    </message>
    <message>
        <source>The magazine&apos;s keys</source>
        <translation>杂志的按键</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>In the maximized window: a window of the movie&apos;s size</source>
        <translation>在最大化的窗口中：改为动画大小的窗口</translation>
    </message>
    <message>
        <source>Arrows, Page Up, Page Down, Home</source>
        <translation>方向键、Page Up、Page Down、Home</translation>
    </message>
    <message>
        <source>Turn the pages (in most magazines)</source>
        <translation>翻页（大多数杂志）</translation>
    </message>
    <message>
        <source>Other keys, the mouse</source>
        <translation>其他按键、鼠标</translation>
    </message>
    <message>
        <source>The magazine&apos;s own</source>
        <translation>由杂志自己处理</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Licences</source>
        <translation>许可证</translation>
    </message>
    <message>
        <source>pagoro: MIT; Ruffle: MIT or Apache-2.0; Qt: LGPLv3</source>
        <translation>pagoro：MIT；Ruffle：MIT 或 Apache-2.0；Qt：LGPLv3</translation>
    </message>
    <message>
        <source>Where the reader keeps its files</source>
        <translation>阅读器保存文件的位置</translation>
    </message>
    <message>
        <source>The shelf of recent magazines</source>
        <translation>最近阅读的杂志列表</translation>
    </message>
    <message>
        <source>What the magazines remember</source>
        <translation>杂志保存的记录</translation>
    </message>
    <message>
        <source>The magazines&apos; files while they play</source>
        <translation>杂志播放时的文件</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>按键</translation>
    </message>
</context>
<context>
    <name>Packer</name>
    <message>
        <source>The file name &quot;%1&quot; has characters that code page 936 lacks</source>
        <translation>文件名“%1”含有代码页 936 中没有的字符</translation>
    </message>
    <message>
        <source>The file name &quot;%1&quot; holds &quot;|&quot;, a line end or a byte that reads as one</source>
        <translation>文件名“%1”含有“|”、换行符或会被读作换行的字节</translation>
    </message>
    <message>
        <source>The file name &quot;%1&quot; holds &quot;\&quot;, which readers take for a folder part</source>
        <translation>文件名“%1”含有“\”，阅读器会把它当作文件夹分隔符</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is shorter than 3 bytes; format 2.0 can&apos;t store it</source>
        <translation>文件“%1”不足 3 个字节，2.0 格式无法存放它</translation>
    </message>
    <message>
        <source>The first 3 bytes of &quot;%1&quot; hold CR, LF or NUL; format 2.0 can&apos;t store it (use format 1.0)</source>
        <translation>“%1”的前 3 个字节含有 CR、LF 或 NUL，2.0 格式无法存放它（请使用 1.0 格式）</translation>
    </message>
    <message>
        <source>Unknown format &quot;%1&quot; (1.0 or 2.0)</source>
        <translation>未知格式“%1”（应为 1.0 或 2.0）</translation>
    </message>
    <message>
        <source>The book would be 2 GiB or larger</source>
        <translation>杂志文件将达到或超过 2 GiB</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>“%1”不是文件夹</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>无法读取“%1”：%2</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>无法写入“%1”：%2</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>pagoro is running as root (the administrator), and the web engine that plays the magazines refuses to start as root while its security sandbox is on.

Start pagoro as your own user instead. If it has to run as root, turn the sandbox off for that run: QTWEBENGINE_DISABLE_SANDBOX=1 pagoro FILE</source>
        <translation>pagoro 正以 root（管理员）身份运行，而播放杂志的网页引擎在安全沙箱开启时拒绝以 root 身份启动。

请改用你自己的用户启动 pagoro。如果必须以 root 身份运行，请在这次运行时关闭沙箱：QTWEBENGINE_DISABLE_SANDBOX=1 pagoro FILE</translation>
    </message>
    <message>
        <source>No lock can be taken for the magazine&apos;s folder &quot;%1&quot;, so it is not opened: another reader of yours may be using it (%2)</source>
        <translation>无法锁定杂志的文件夹“%1”，因此没有打开杂志：你的另一个阅读器可能正在使用它（%2）</translation>
    </message>
    <message>
        <source>The magazine is open in another reader of yours already (its folder &quot;%1&quot;), which can&apos;t be brought to the front: the readers&apos; lock folder can&apos;t be used (%2)</source>
        <translation>这本杂志已在你的另一个阅读器中打开（文件夹“%1”），但无法把它切换到前台：阅读器的锁文件夹无法使用（%2）</translation>
    </message>
    <message>
        <source>the file is 4 GiB or larger, more than a book can be</source>
        <translation>文件达到或超过 4 GiB，超出了杂志文件的上限</translation>
    </message>
    <message>
        <source>Not enough free space in &quot;%1&quot; for the book&apos;s files: they need %2, %3 are free</source>
        <translation>“%1”的剩余空间不足以存放杂志的文件：需要 %2，可用 %3</translation>
    </message>
    <message>
        <source>Entry %1 lies outside the book file (offset %2, size %3)</source>
        <translation>条目 %1 超出了杂志文件的范围（偏移 %2，大小 %3）</translation>
    </message>
    <message>
        <source>Entry %1 lacks its three header bytes</source>
        <translation>条目 %1 缺少三个文件头字节</translation>
    </message>
    <message>
        <source>Entry name %1 is not a plain file name</source>
        <translation>条目名 %1 不是普通的文件名</translation>
    </message>
    <message>
        <source>the file is shorter than when it was opened</source>
        <translation>文件比打开时短了</translation>
    </message>
    <message>
        <source>no free inodes left: the file system can hold no more files</source>
        <translation>没有可用的 inode：文件系统无法再存放更多文件</translation>
    </message>
    <message>
        <source>The folder belongs to another user</source>
        <translation>该文件夹属于另一个用户</translation>
    </message>
    <message>
        <source>Other users may write into the folder</source>
        <translation>其他用户可以写入该文件夹</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; can&apos;t take the file: %2</source>
        <translation>文件夹“%1”无法存放该文件：%2</translation>
    </message>
    <message>
        <source>The magazine&apos;s file &quot;%1&quot; can&apos;t be read any more: was its disc or stick removed? (%2)</source>
        <translation>杂志文件“%1”已无法读取：光盘或 U 盘是否已被取出？（%2）</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2</source>
        <translation>无法打开“%1”：%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds no magazine: it is neither a book nor a Flash movie or projector</source>
        <translation>“%1”里没有杂志：它既不是杂志文件，也不是 Flash 动画或放映文件</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; is a symbolic link; pagoro writes and deletes files only in a folder of its own. Remove the link to open the book</source>
        <translation>文件夹“%1”是一个符号链接；pagoro 只在自己的文件夹里写入和删除文件。请删除该链接后再打开杂志</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot;. %2</source>
        <translation>无法创建文件夹“%1”。%2</translation>
    </message>
    <message>
        <source>The book file &quot;%1&quot; gives no usable cache folder name; rename the file to open it</source>
        <translation>无法由杂志文件“%1”的名称得到可用的缓存文件夹名；请给文件改名后再打开</translation>
    </message>
    <message>
        <source>Cannot use the folder &quot;%1&quot;. %2</source>
        <translation>无法使用文件夹“%1”。%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a book folder of pagoro</source>
        <translation>“%1”不是 pagoro 的杂志文件夹</translation>
    </message>
    <message>
        <source>The new file could not be opened again</source>
        <translation>无法再次打开新建的文件</translation>
    </message>
    <message>
        <source>Cannot create a new temporary file in &quot;%1&quot;</source>
        <translation>无法在“%1”中创建临时文件</translation>
    </message>
    <message>
        <source>no private folder for the readers&apos; locks</source>
        <translation>没有供阅读器存放锁的私有文件夹</translation>
    </message>
    <message>
        <source>Unknown exception</source>
        <translation>未知异常</translation>
    </message>
</context>
<context>
    <name>SharedObjects</name>
    <message>
        <source>no folder for them (a folder of books&apos; files?)</source>
        <translation>没有存放它们的文件夹（是不是杂志文件所在的文件夹？）</translation>
    </message>
    <message>
        <source>shared objects: %1 - what the movie stores now lasts until it ends</source>
        <translation>共享对象：%1。动画现在保存的内容只保留到它结束为止</translation>
    </message>
    <message>
        <source>left out, unreadable or damaged: %1</source>
        <translation>以下文件无法读取或已损坏，已略过：%1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>cannot remove %1</source>
        <translation>无法删除 %1</translation>
    </message>
    <message>
        <source>%1 is a link, left alone</source>
        <translation>%1 是符号链接，不予处理</translation>
    </message>
    <message>
        <source>%1 is no folder, left alone</source>
        <translation>%1 不是文件夹，不予处理</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
    <message>
        <source>cannot move %1 to %2: %3</source>
        <translation>无法把 %1 移到 %2：%3</translation>
    </message>
    <message>
        <source>%1 (over the limit)</source>
        <translation>%1（超出限额）</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>无法写入 %1</translation>
    </message>
    <message>
        <source>%1 is no object&apos;s file, left alone</source>
        <translation>%1 不是共享对象文件，不予处理</translation>
    </message>
    <message>
        <source>%1 is a link or no file, left alone</source>
        <translation>%1 是符号链接或不是文件，不予处理</translation>
    </message>
</context>
<context>
    <name>Shelf</name>
    <message>
        <source>the list of recent magazines %1 is damaged; it is ignored and begun anew</source>
        <translation>最近阅读的列表 %1 已损坏；忽略它并重新开始记录</translation>
    </message>
    <message>
        <source>no home folder is known: the shelf of recent magazines is not kept</source>
        <translation>找不到主文件夹：不保存最近阅读列表</translation>
    </message>
    <message>
        <source>the folder of the shelf of recent magazines %1 can&apos;t be used (%2); it is left alone and nothing is kept</source>
        <translation>最近阅读列表的文件夹 %1 无法使用（%2）；不予处理，也不保存任何内容</translation>
    </message>
    <message>
        <source>the folder of the covers %1 can&apos;t be used (%2); it is left alone and the shelf goes without covers</source>
        <translation>封面文件夹 %1 无法使用（%2）；不予处理，最近阅读列表不显示封面</translation>
    </message>
    <message>
        <source>the list of recent magazines %1 can&apos;t be read (%2); it is left alone and the shelf begun anew</source>
        <translation>最近阅读列表 %1 无法读取（%2）；不予处理，列表重新开始</translation>
    </message>
    <message>
        <source>the list of recent magazines %1 can&apos;t be written (%2); the one before is kept as it was</source>
        <translation>最近阅读列表 %1 无法写入（%2）；原来的列表保持不变</translation>
    </message>
    <message>
        <source>the cover %1 can&apos;t be read (%2); it is left alone and the shelf shows its magazine without it</source>
        <translation>封面 %1 无法读取（%2）；不予处理，该杂志不显示封面</translation>
    </message>
    <message>
        <source>the cover %1 is no picture of the shelf; the shelf shows its magazine without it</source>
        <translation>封面 %1 不是最近阅读列表的图片；该杂志不显示封面</translation>
    </message>
    <message>
        <source>the cover %1 can&apos;t be written (%2); the one before is kept as it was</source>
        <translation>封面 %1 无法写入（%2）；原来的封面保持不变</translation>
    </message>
</context>
<context>
    <name>StartScreen</name>
    <message>
        <source>Drop a magazine here</source>
        <translation>把杂志拖到这里</translation>
    </message>
    <message>
        <source>a magazine (.exe, also one made for Windows), a Flash movie (.swf) or a Flash projector (.exe)</source>
        <translation>杂志（.exe，也可以是为 Windows 制作的）、Flash 动画（.swf）或 Flash 放映文件（.exe）</translation>
    </message>
    <message>
        <source>or choose &lt;b&gt;Open…&lt;/b&gt; (Ctrl+O)</source>
        <translation>或者点击&lt;b&gt;打开…&lt;/b&gt;（Ctrl+O）</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>打开(&amp;O)…</translation>
    </message>
    <message>
        <source>&amp;Forget</source>
        <translation>移除(&amp;F)</translation>
    </message>
    <message>
        <source>Take the chosen magazine off the list (Delete)</source>
        <translation>把选中的杂志从最近阅读中移除（Delete）</translation>
    </message>
    <message>
        <source>Recent magazines</source>
        <translation>最近阅读</translation>
    </message>
    <message>
        <source>%1 (missing)
%2 · %3</source>
        <translation>%1（文件不存在）
%2 · %3</translation>
    </message>
    <message>
        <source>%1
%2 · %3</source>
        <translation>%1
%2 · %3</translation>
    </message>
    <message>
        <source>The magazine &quot;%1&quot; is no longer there.

Forget it (take it off the list of recent magazines), or keep it on the list? If it lies on a disc or a stick, insert it and choose it again.</source>
        <translation>杂志“%1”已不在原处。

要把它从最近阅读中移除，还是留在列表中？如果它在光盘或U盘上，请插入后再选一次。</translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation>保留(&amp;K)</translation>
    </message>
</context>
<context>
    <name>pagoro-book</name>
    <message>
        <source>Usage: pagoro-book info BOOK

Prints the format version, the movie size and the number of entries of the
book executable BOOK. Fails when an entry lies outside BOOK, as the reader
would refuse it.
</source>
        <translation>用法：pagoro-book info BOOK

显示杂志可执行文件 BOOK 的格式版本、动画尺寸和条目数。有条目超出 BOOK 的
范围时失败，因为阅读器也会拒绝打开它。
</translation>
    </message>
    <message>
        <source>Usage: pagoro-book list BOOK

Prints a header line, then one tab-separated line for each entry of BOOK:
its name, the offset of its stored bytes, the number of bytes stored there
and the size of the file it extracts to. A format 2.0 entry keeps the
first 3 bytes of its file in the index, so its file is 3 bytes longer
than what is stored.
</source>
        <translation>用法：pagoro-book list BOOK

先显示一行表头，再为 BOOK 的每个条目显示一行以制表符分隔的内容：名称、
存放位置的偏移、存放的字节数，以及解出后的文件大小。2.0 格式的条目把文件
的前 3 个字节存放在索引里，所以文件比存放的内容多 3 个字节。
</translation>
    </message>
    <message>
        <source>Usage: pagoro-book extract BOOK DIR

Writes the files of BOOK into the folder DIR as the reader does into a
cache folder, main.swf included. DIR must exist and hold no files.
</source>
        <translation>用法：pagoro-book extract BOOK DIR

像阅读器写入缓存文件夹那样，把 BOOK 的文件（包括 main.swf）写入文件夹 DIR。
DIR 必须已经存在，并且里面没有文件。
</translation>
    </message>
    <message>
        <source>Usage: pagoro-book pack DIR -o OUT [--format 1.0|2.0] [--size WxH] [--reader FILE]

Makes the book executable OUT from the files directly inside the folder
DIR (subfolders are not entered). DIR must hold the main movie, main.swf,
which is stored first. The files packed are named on standard error.

  -o, --output OUT    the book executable to write
  --format 1.0|2.0    the container format (default 2.0); a 1.0 book can
                      carry only its main movie
  --size WxH          the movie&apos;s size in pixels (default 800x600)
  --reader FILE       the program the book starts with; by default the
                      pagoro program in the same folder as pagoro-book
  --                  end of options (for a DIR whose name starts with -)
</source>
        <translation>用法：pagoro-book pack DIR -o OUT [--format 1.0|2.0] [--size WxH] [--reader FILE]

用文件夹 DIR 中直接存放的文件（不进入子文件夹）制作杂志可执行文件 OUT。
DIR 中必须有主动画 main.swf，它会被最先存放。打包的文件会在标准错误输出中
列出。

  -o, --output OUT    要写入的杂志可执行文件
  --format 1.0|2.0    容器格式（默认 2.0）；1.0 格式的杂志只能包含主动画
  --size WxH          动画尺寸，以像素计（默认 800x600）
  --reader FILE       杂志启动时运行的程序；默认为与 pagoro-book 同一文件夹
                      中的 pagoro 程序
  --                  选项到此结束（用于以 - 开头的文件夹名 DIR）
</translation>
    </message>
    <message>
        <source>Usage: pagoro-book help [COMMAND]

Shows the list of commands, or the usage of COMMAND.
</source>
        <translation>用法：pagoro-book help [COMMAND]

显示命令列表，或命令 COMMAND 的用法。
</translation>
    </message>
    <message>
        <source>%1 is a folder, not a magazine</source>
        <translation>%1 是文件夹，不是杂志</translation>
    </message>
    <message>
        <source>No book file at %1</source>
        <translation>%1 处没有杂志文件</translation>
    </message>
    <message>
        <source>%1 is a Flash movie, not a magazine</source>
        <translation>%1 是 Flash 动画，不是杂志</translation>
    </message>
    <message>
        <source>%1 is not a magazine: no book container at its end</source>
        <translation>%1 不是杂志：文件末尾没有杂志容器</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 不是文件夹</translation>
    </message>
    <message>
        <source>%1 holds files; extract into a folder without files</source>
        <translation>%1 里已有文件；请解到没有文件的文件夹中</translation>
    </message>
    <message>
        <source>%1: %2 (index line %3); the reader refuses this book</source>
        <translation>%1：%2（索引第 %3 行）；阅读器会拒绝打开这本杂志</translation>
    </message>
    <message numerus="yes">
        <source>packed %1 (%n bytes)</source>
        <translation>
            <numerusform>已打包 %1（%n 字节）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>packed %n more files (pagoro-book list %1 names them all)</source>
        <translation>
            <numerusform>另外打包了 %n 个文件（pagoro-book list %1 会全部列出）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>wrote %1: %n files, format %2, movie %3, %4</source>
        <translation>
            <numerusform>已写入 %1：%n 个文件，格式 %2，动画 %3，%4</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 takes %n arguments</source>
        <translation>
            <numerusform>%1 需要 %n 个参数</numerusform>
        </translation>
    </message>
    <message>
        <source>no reader image: the book does not start by itself (--reader FILE)</source>
        <translation>没有阅读器程序：这本杂志不能自行启动（--reader FILE）</translation>
    </message>
    <message>
        <source>reader %1</source>
        <translation>阅读器 %1</translation>
    </message>
    <message>
        <source>more than one folder to pack</source>
        <translation>要打包的文件夹多于一个</translation>
    </message>
    <message>
        <source>--format is 1.0 or 2.0</source>
        <translation>--format 应为 1.0 或 2.0</translation>
    </message>
    <message>
        <source>--size is WIDTHxHEIGHT, for example 800x600</source>
        <translation>--size 的格式为 宽x高，例如 800x600</translation>
    </message>
    <message>
        <source>pack needs a folder</source>
        <translation>pack 需要一个文件夹</translation>
    </message>
    <message>
        <source>pack needs -o OUT</source>
        <translation>pack 需要 -o OUT</translation>
    </message>
    <message>
        <source>%1 holds no %2: a magazine starts with its main movie; nothing was written</source>
        <translation>%1 中没有 %2：杂志从主动画开始播放；没有写入任何文件</translation>
    </message>
    <message>
        <source>warning: readers stop at the first file besides main.swf of a format 1.0 book (its entry line is read in the 2.0 layout); use format 2.0</source>
        <translation>警告：阅读器读到 1.0 格式杂志中 main.swf 以外的第一个文件时就会停止（其条目行按 2.0 的格式读取）；请使用 2.0 格式</translation>
    </message>
    <message>
        <source>help takes at most one command</source>
        <translation>help 最多只接受一个命令</translation>
    </message>
    <message>
        <source>no command %1</source>
        <translation>没有命令 %1</translation>
    </message>
    <message>
        <source>no command</source>
        <translation>没有给出命令</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>未知命令 %1</translation>
    </message>
    <message>
        <source>Usage: pagoro-book reader BOOK -o OUT

Writes the reader part of the book executable BOOK to OUT: every byte
before its container, which is the program the book starts with. Of a
book made for Windows, that is the Windows reader program; `pack
--reader OUT` then makes books that start with it, as Windows readers
expect. OUT is written anew (never BOOK itself).

  -o, --output OUT    the file to write
  --                  end of options (for a BOOK whose name starts with -)
</source>
        <translation>用法：pagoro-book reader BOOK -o OUT

把杂志可执行文件 BOOK 的阅读器部分写入 OUT：杂志容器之前的全部字节，
也就是杂志启动时运行的程序。为 Windows 制作的杂志，这部分就是 Windows
阅读器程序；之后用 `pack --reader OUT` 制作的杂志就以它启动，符合 Windows
阅读器的要求。OUT 总是重新写入（绝不会是 BOOK 本身）。

  -o, --output OUT    要写入的文件
  --                  选项结束（用于以 - 开头的 BOOK 名称）
</translation>
    </message>
    <message>
        <source>Usage: pagoro-book COMMAND [ARGUMENTS]

Looks into, unpacks and makes pagoro book executables: magazines made of
the reader program with the magazine&apos;s files packed onto its end.

Commands:
  info BOOK           print the format version, movie size and entry count
  list BOOK           print each entry: name, offset, stored and file size
  extract BOOK DIR    write the files of BOOK into the empty folder DIR
  pack DIR -o OUT     make the book executable OUT from the files of DIR
                      [--format 1.0|2.0] [--size WxH] [--reader FILE]
  reader BOOK -o OUT  write the program BOOK starts with (its reader) to OUT
  help [COMMAND]      show this text, or the usage of COMMAND

Options:
  --help              show this text; COMMAND --help shows that command&apos;s
  --version           show the version

Data goes to standard output, messages to standard error. The exit status
is 0 on success, 1 when a command fails and 2 for bad arguments.
</source>
        <translation>用法：pagoro-book COMMAND [ARGUMENTS]

查看、解开和制作 pagoro 杂志可执行文件：由阅读器程序和附加在其末尾的杂志
文件组成的杂志。

命令：
  info BOOK           显示格式版本、动画尺寸和条目数
  list BOOK           列出每个条目：名称、偏移、存放大小和文件大小
  extract BOOK DIR    把 BOOK 的文件写入空文件夹 DIR
  pack DIR -o OUT     用 DIR 中的文件制作杂志可执行文件 OUT
                      [--format 1.0|2.0] [--size WxH] [--reader FILE]
  reader BOOK -o OUT  把 BOOK 启动时运行的程序（它的阅读器）写入 OUT
  help [COMMAND]      显示本说明，或命令 COMMAND 的用法

选项：
  --help              显示本说明；COMMAND --help 显示该命令的用法
  --version           显示版本信息

数据输出到标准输出，消息输出到标准错误输出。退出状态：成功为 0，命令失败为 1，
参数有误为 2。
</translation>
    </message>
</context>
</TS>
