<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en">
<context>
    <name>Arguments</name>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 不接受參數值</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>未知選項 %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 需要一個參數值</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option %1</source>
        <translation>未知選項 %1</translation>
    </message>
    <message>
        <source>one file at a time (%1 and %2 given)</source>
        <translation>一次只能開啟一個檔案（提供了 %1 和 %2）</translation>
    </message>
    <message>
        <source>an empty file name</source>
        <translation>檔名是空的</translation>
    </message>
    <message>
        <source>--forget needs the magazine&apos;s FILE</source>
        <translation>--forget 需要指定雜誌檔案 FILE</translation>
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
閱讀以 Flash 動畫製作的電子雜誌。

FILE 是一本雜誌（雜誌執行檔，為 Windows 或為本閱讀器製作，無論檔名為何）、
一個 Flash 動畫（.swf）或一個 Flash 放映檔（.exe）。
不指定 FILE 時，以程式方式啟動的雜誌會開啟自己；單獨啟動閱讀器則顯示一個
視窗，可以將雜誌拖曳到上面，或開啟一本雜誌（Ctrl+O）。

      --forget   清除雜誌 FILE 為下次閱讀儲存的記錄（書籤、設定、分數）後結束
  -h, --help     顯示本說明並結束
      --version  顯示版本資訊並結束
  --             選項到此結束（用於以 - 開頭的檔名 FILE）
</translation>
    </message>
    <message>
        <source>pagoro %1 (product version %2)</source>
        <translation>pagoro %1（產品版本 %2）</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>請執行「%1 --help」查看用法。</translation>
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
雜誌在填滿螢幕可用區域的無邊框視窗中開啟（最大化）。
  F11            切換到真正的全螢幕（蓋住桌面面板），再按一次返回
  Escape         將視窗變為動畫的大小（雜誌會收到通知）
  Ctrl+O         開啟另一本雜誌來取代它
  F1             按鍵、版本、授權條款和檔案位置
  Alt+F4         關閉閱讀器（或使用雜誌自己的「結束」按鈕）
其他按鍵都交給雜誌：大多數雜誌用方向鍵、Page Up、Page Down 和 Home 翻頁。

開始畫面顯示最近閱讀的雜誌，最新的在前：按 Enter 或按一下開啟，按 Delete
移除；按 Ctrl+O 開啟其他雜誌。

檔案（未設定時 XDG_STATE_HOME 為 ~/.local/state，XDG_DATA_HOME 為
~/.local/share）：
  $XDG_STATE_HOME/pagoro/recent           最近閱讀清單；封面圖片在 covers/ 中
  $XDG_STATE_HOME/pagoro/shared-objects/  雜誌儲存的內容
  $XDG_DATA_HOME/pagoro/NAME/             雜誌播放期間的檔案
</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Open a magazine</source>
        <translation>開啟雜誌</translation>
    </message>
    <message>
        <source>File name, or a path</source>
        <translation>檔名或路徑</translation>
    </message>
    <message>
        <source>Show all files</source>
        <translation>顯示所有檔案</translation>
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
        <translation>%1 不是雜誌，沒有清除任何記錄</translation>
    </message>
    <message>
        <source>%1 is a folder, not a magazine file; nothing forgotten</source>
        <translation>%1 是資料夾，不是雜誌檔案；未清除任何記錄</translation>
    </message>
    <message>
        <source>cannot read %1: %2; nothing forgotten</source>
        <translation>無法讀取 %1：%2；未清除任何記錄</translation>
    </message>
    <message>
        <source>%1: could not remove all of %2</source>
        <translation>%1：未能全部刪除 %2</translation>
    </message>
    <message>
        <source>%1: nothing was kept for it</source>
        <translation>%1：沒有為它儲存任何內容</translation>
    </message>
    <message>
        <source>%1: removed %2</source>
        <translation>%1：已刪除 %2</translation>
    </message>
</context>
<context>
    <name>Keys</name>
    <message>
        <source>The reader&apos;s keys</source>
        <translation>閱讀器的按鍵</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open another magazine, movie or projector</source>
        <translation>開啟另一本雜誌、Flash 動畫或 Flash 放映檔</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>This sheet</source>
        <translation>本按鍵表</translation>
    </message>
    <message>
        <source>F11</source>
        <translation>F11</translation>
    </message>
    <message>
        <source>Full screen, and back</source>
        <translation>全螢幕，再按一次返回</translation>
    </message>
    <message>
        <source>Alt+F4</source>
        <translation>Alt+F4</translation>
    </message>
    <message>
        <source>Close the window and end the reader</source>
        <translation>關閉視窗並結束閱讀器</translation>
    </message>
    <message>
        <source>The magazine&apos;s keys</source>
        <translation>雜誌的按鍵</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>In the maximized window: a window of the movie&apos;s size</source>
        <translation>在最大化的視窗中：改為動畫大小的視窗</translation>
    </message>
    <message>
        <source>Arrows, Page Up, Page Down, Home</source>
        <translation>方向鍵、Page Up、Page Down、Home</translation>
    </message>
    <message>
        <source>Turn the pages (in most magazines)</source>
        <translation>翻頁（大多數雜誌）</translation>
    </message>
    <message>
        <source>Other keys, the mouse</source>
        <translation>其他按鍵、滑鼠</translation>
    </message>
    <message>
        <source>The magazine&apos;s own</source>
        <translation>由雜誌自行處理</translation>
    </message>
    <message>
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>Licences</source>
        <translation>授權條款</translation>
    </message>
    <message>
        <source>pagoro: MIT; Ruffle: MIT or Apache-2.0; Qt: LGPLv3</source>
        <translation>pagoro：MIT；Ruffle：MIT 或 Apache-2.0；Qt：LGPLv3</translation>
    </message>
    <message>
        <source>Where the reader keeps its files</source>
        <translation>閱讀器儲存檔案的位置</translation>
    </message>
    <message>
        <source>The shelf of recent magazines</source>
        <translation>最近閱讀的雜誌清單</translation>
    </message>
    <message>
        <source>What the magazines remember</source>
        <translation>雜誌儲存的記錄</translation>
    </message>
    <message>
        <source>The magazines&apos; files while they play</source>
        <translation>雜誌播放時的檔案</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>按鍵</translation>
    </message>
</context>
<context>
    <name>Packer</name>
    <message>
        <source>The file name &quot;%1&quot; has characters that code page 936 lacks</source>
        <translation>檔名「%1」含有字碼頁 936 沒有的字元</translation>
    </message>
    <message>
        <source>The file name &quot;%1&quot; holds &quot;|&quot;, a line end or a byte that reads as one</source>
        <translation>檔名「%1」含有「|」、換行字元或會被讀成換行的位元組</translation>
    </message>
    <message>
        <source>The file name &quot;%1&quot; holds &quot;\&quot;, which readers take for a folder part</source>
        <translation>檔名「%1」含有「\」，閱讀器會把它當成資料夾分隔符號</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is shorter than 3 bytes; format 2.0 can&apos;t store it</source>
        <translation>檔案「%1」不足 3 個位元組，2.0 格式無法存放</translation>
    </message>
    <message>
        <source>The first 3 bytes of &quot;%1&quot; hold CR, LF or NUL; format 2.0 can&apos;t store it (use format 1.0)</source>
        <translation>「%1」的前 3 個位元組含有 CR、LF 或 NUL，2.0 格式無法存放（請使用 1.0 格式）</translation>
    </message>
    <message>
        <source>Unknown format &quot;%1&quot; (1.0 or 2.0)</source>
        <translation>未知格式「%1」（應為 1.0 或 2.0）</translation>
    </message>
    <message>
        <source>The book would be 2 GiB or larger</source>
        <translation>雜誌檔案將達到或超過 2 GiB</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>「%1」不是資料夾</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>無法讀取「%1」：%2</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>無法寫入「%1」：%2</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>pagoro is running as root (the administrator), and the web engine that plays the magazines refuses to start as root while its security sandbox is on.

Start pagoro as your own user instead. If it has to run as root, turn the sandbox off for that run: QTWEBENGINE_DISABLE_SANDBOX=1 pagoro FILE</source>
        <translation>pagoro 正以 root（系統管理員）身分執行，而播放雜誌的網頁引擎在安全沙箱開啟時拒絕以 root 身分啟動。

請改用您自己的使用者啟動 pagoro。如果必須以 root 身分執行，請在這次執行時關閉沙箱：QTWEBENGINE_DISABLE_SANDBOX=1 pagoro FILE</translation>
    </message>
    <message>
        <source>No lock can be taken for the magazine&apos;s folder &quot;%1&quot;, so it is not opened: another reader of yours may be using it (%2)</source>
        <translation>無法鎖定雜誌的資料夾「%1」，因此沒有開啟雜誌：您的另一個閱讀器可能正在使用它（%2）</translation>
    </message>
    <message>
        <source>The magazine is open in another reader of yours already (its folder &quot;%1&quot;), which can&apos;t be brought to the front: the readers&apos; lock folder can&apos;t be used (%2)</source>
        <translation>這本雜誌已在您的另一個閱讀器中開啟（資料夾「%1」），但無法把它切換到前景：閱讀器的鎖定資料夾無法使用（%2）</translation>
    </message>
    <message>
        <source>the file is 4 GiB or larger, more than a book can be</source>
        <translation>檔案達到或超過 4 GiB，超出雜誌檔案的上限</translation>
    </message>
    <message>
        <source>Not enough free space in &quot;%1&quot; for the book&apos;s files: they need %2, %3 are free</source>
        <translation>「%1」的剩餘空間不足以存放雜誌的檔案：需要 %2，可用 %3</translation>
    </message>
    <message>
        <source>Entry %1 lies outside the book file (offset %2, size %3)</source>
        <translation>項目 %1 超出雜誌檔案的範圍（位移 %2，大小 %3）</translation>
    </message>
    <message>
        <source>Entry %1 lacks its three header bytes</source>
        <translation>項目 %1 缺少三個檔頭位元組</translation>
    </message>
    <message>
        <source>Entry name %1 is not a plain file name</source>
        <translation>項目名稱 %1 不是一般的檔名</translation>
    </message>
    <message>
        <source>the file is shorter than when it was opened</source>
        <translation>檔案比開啟時短了</translation>
    </message>
    <message>
        <source>no free inodes left: the file system can hold no more files</source>
        <translation>沒有可用的 inode：檔案系統無法再存放更多檔案</translation>
    </message>
    <message>
        <source>The folder belongs to another user</source>
        <translation>該資料夾屬於另一位使用者</translation>
    </message>
    <message>
        <source>Other users may write into the folder</source>
        <translation>其他使用者可以寫入該資料夾</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; can&apos;t take the file: %2</source>
        <translation>資料夾「%1」無法存放該檔案：%2</translation>
    </message>
    <message>
        <source>The magazine&apos;s file &quot;%1&quot; can&apos;t be read any more: was its disc or stick removed? (%2)</source>
        <translation>雜誌檔案「%1」已無法讀取：光碟或隨身碟是否已被取出？（%2）</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2</source>
        <translation>無法開啟「%1」：%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds no magazine: it is neither a book nor a Flash movie or projector</source>
        <translation>「%1」裡沒有雜誌：它既不是雜誌檔案，也不是 Flash 動畫或放映檔</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; is a symbolic link; pagoro writes and deletes files only in a folder of its own. Remove the link to open the book</source>
        <translation>資料夾「%1」是符號連結；pagoro 只在自己的資料夾裡寫入和刪除檔案。請刪除該連結後再開啟雜誌</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot;. %2</source>
        <translation>無法建立資料夾「%1」。%2</translation>
    </message>
    <message>
        <source>The book file &quot;%1&quot; gives no usable cache folder name; rename the file to open it</source>
        <translation>無法從雜誌檔案「%1」的名稱得到可用的快取資料夾名稱；請將檔案改名後再開啟</translation>
    </message>
    <message>
        <source>Cannot use the folder &quot;%1&quot;. %2</source>
        <translation>無法使用資料夾「%1」。%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a book folder of pagoro</source>
        <translation>「%1」不是 pagoro 的雜誌資料夾</translation>
    </message>
    <message>
        <source>The new file could not be opened again</source>
        <translation>無法再次開啟新建立的檔案</translation>
    </message>
    <message>
        <source>Cannot create a new temporary file in &quot;%1&quot;</source>
        <translation>無法在「%1」中建立暫存檔</translation>
    </message>
    <message>
        <source>no private folder for the readers&apos; locks</source>
        <translation>沒有供閱讀器存放鎖定檔的私人資料夾</translation>
    </message>
    <message>
        <source>Unknown exception</source>
        <translation>未知的例外狀況</translation>
    </message>
</context>
<context>
    <name>SharedObjects</name>
    <message>
        <source>no folder for them (a folder of books&apos; files?)</source>
        <translation>沒有存放它們的資料夾（是不是雜誌檔案所在的資料夾？）</translation>
    </message>
    <message>
        <source>shared objects: %1 - what the movie stores now lasts until it ends</source>
        <translation>共享物件：%1。動畫現在儲存的內容只保留到它結束為止</translation>
    </message>
    <message>
        <source>left out, unreadable or damaged: %1</source>
        <translation>以下檔案無法讀取或已損壞，已略過：%1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>無法寫入 %1：%2</translation>
    </message>
    <message>
        <source>cannot remove %1</source>
        <translation>無法刪除 %1</translation>
    </message>
    <message>
        <source>%1 is a link, left alone</source>
        <translation>%1 是符號連結，不予處理</translation>
    </message>
    <message>
        <source>%1 is no folder, left alone</source>
        <translation>%1 不是資料夾，不予處理</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>無法開啟 %1：%2</translation>
    </message>
    <message>
        <source>cannot move %1 to %2: %3</source>
        <translation>無法將 %1 移到 %2：%3</translation>
    </message>
    <message>
        <source>%1 (over the limit)</source>
        <translation>%1（超出限額）</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>無法讀取 %1：%2</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>無法寫入 %1</translation>
    </message>
    <message>
        <source>%1 is no object&apos;s file, left alone</source>
        <translation>%1 不是共享物件檔案，不予處理</translation>
    </message>
    <message>
        <source>%1 is a link or no file, left alone</source>
        <translation>%1 是符號連結或不是檔案，不予處理</translation>
    </message>
</context>
<context>
    <name>Shelf</name>
    <message>
        <source>the list of recent magazines %1 is damaged; it is ignored and begun anew</source>
        <translation>最近閱讀的列表 %1 已損壞；忽略它並重新開始記錄</translation>
    </message>
    <message>
        <source>no home folder is known: the shelf of recent magazines is not kept</source>
        <translation>找不到主資料夾：不儲存最近閱讀清單</translation>
    </message>
    <message>
        <source>the folder of the shelf of recent magazines %1 can&apos;t be used (%2); it is left alone and nothing is kept</source>
        <translation>最近閱讀清單的資料夾 %1 無法使用（%2）；不予處理，也不儲存任何內容</translation>
    </message>
    <message>
        <source>the folder of the covers %1 can&apos;t be used (%2); it is left alone and the shelf goes without covers</source>
        <translation>封面資料夾 %1 無法使用（%2）；不予處理，最近閱讀清單不顯示封面</translation>
    </message>
    <message>
        <source>the list of recent magazines %1 can&apos;t be read (%2); it is left alone and the shelf begun anew</source>
        <translation>最近閱讀清單 %1 無法讀取（%2）；不予處理，清單重新開始</translation>
    </message>
    <message>
        <source>the list of recent magazines %1 can&apos;t be written (%2); the one before is kept as it was</source>
        <translation>最近閱讀清單 %1 無法寫入（%2）；原來的清單維持不變</translation>
    </message>
    <message>
        <source>the cover %1 can&apos;t be read (%2); it is left alone and the shelf shows its magazine without it</source>
        <translation>封面 %1 無法讀取（%2）；不予處理，該雜誌不顯示封面</translation>
    </message>
    <message>
        <source>the cover %1 is no picture of the shelf; the shelf shows its magazine without it</source>
        <translation>封面 %1 不是最近閱讀清單的圖片；該雜誌不顯示封面</translation>
    </message>
    <message>
        <source>the cover %1 can&apos;t be written (%2); the one before is kept as it was</source>
        <translation>封面 %1 無法寫入（%2）；原來的封面維持不變</translation>
    </message>
</context>
<context>
    <name>StartScreen</name>
    <message>
        <source>Drop a magazine here</source>
        <translation>將雜誌拖曳到這裡</translation>
    </message>
    <message>
        <source>a magazine (.exe, also one made for Windows), a Flash movie (.swf) or a Flash projector (.exe)</source>
        <translation>雜誌（.exe，也可以是為 Windows 製作的）、Flash 動畫（.swf）或 Flash 放映檔（.exe）</translation>
    </message>
    <message>
        <source>or choose &lt;b&gt;Open…&lt;/b&gt; (Ctrl+O)</source>
        <translation>或按&lt;b&gt;開啟…&lt;/b&gt;（Ctrl+O）</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>開啟(&amp;O)…</translation>
    </message>
    <message>
        <source>&amp;Forget</source>
        <translation>移除(&amp;F)</translation>
    </message>
    <message>
        <source>Take the chosen magazine off the list (Delete)</source>
        <translation>將選取的雜誌從最近閱讀中移除（Delete）</translation>
    </message>
    <message>
        <source>Recent magazines</source>
        <translation>最近閱讀</translation>
    </message>
    <message>
        <source>%1 (missing)
%2 · %3</source>
        <translation>%1（檔案不存在）
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
        <translation>雜誌「%1」已不在原處。

要將它從最近閱讀中移除，還是留在清單中？如果它在光碟或隨身碟上，請插入後再選一次。</translation>
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

顯示雜誌執行檔 BOOK 的格式版本、動畫尺寸和項目數。有項目超出 BOOK 的範圍時
失敗，因為閱讀器也會拒絕開啟它。
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

先顯示一行標題，再為 BOOK 的每個項目顯示一行以定位字元分隔的內容：名稱、
存放位置的位移、存放的位元組數，以及解出後的檔案大小。2.0 格式的項目把檔案
的前 3 個位元組存放在索引裡，所以檔案比存放的內容多 3 個位元組。
</translation>
    </message>
    <message>
        <source>Usage: pagoro-book extract BOOK DIR

Writes the files of BOOK into the folder DIR as the reader does into a
cache folder, main.swf included. DIR must exist and hold no files.
</source>
        <translation>用法：pagoro-book extract BOOK DIR

像閱讀器寫入快取資料夾那樣，將 BOOK 的檔案（包括 main.swf）寫入資料夾 DIR。
DIR 必須已經存在，且裡面沒有檔案。
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

用資料夾 DIR 中直接存放的檔案（不進入子資料夾）製作雜誌執行檔 OUT。
DIR 中必須有主動畫 main.swf，它會最先存放。打包的檔案會在標準錯誤輸出中
列出。

  -o, --output OUT    要寫入的雜誌執行檔
  --format 1.0|2.0    容器格式（預設 2.0）；1.0 格式的雜誌只能包含主動畫
  --size WxH          動畫尺寸，以像素計（預設 800x600）
  --reader FILE       雜誌啟動時執行的程式；預設為與 pagoro-book 同一資料夾
                      中的 pagoro 程式
  --                  選項到此結束（用於以 - 開頭的資料夾名稱 DIR）
</translation>
    </message>
    <message>
        <source>Usage: pagoro-book help [COMMAND]

Shows the list of commands, or the usage of COMMAND.
</source>
        <translation>用法：pagoro-book help [COMMAND]

顯示指令列表，或指令 COMMAND 的用法。
</translation>
    </message>
    <message>
        <source>%1 is a folder, not a magazine</source>
        <translation>%1 是資料夾，不是雜誌</translation>
    </message>
    <message>
        <source>No book file at %1</source>
        <translation>%1 沒有雜誌檔案</translation>
    </message>
    <message>
        <source>%1 is a Flash movie, not a magazine</source>
        <translation>%1 是 Flash 動畫，不是雜誌</translation>
    </message>
    <message>
        <source>%1 is not a magazine: no book container at its end</source>
        <translation>%1 不是雜誌：檔案末尾沒有雜誌容器</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>無法讀取 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 不是資料夾</translation>
    </message>
    <message>
        <source>%1 holds files; extract into a folder without files</source>
        <translation>%1 裡已有檔案；請解到沒有檔案的資料夾中</translation>
    </message>
    <message>
        <source>%1: %2 (index line %3); the reader refuses this book</source>
        <translation>%1：%2（索引第 %3 行）；閱讀器會拒絕開啟這本雜誌</translation>
    </message>
    <message numerus="yes">
        <source>packed %1 (%n bytes)</source>
        <translation>
            <numerusform>已打包 %1（%n 位元組）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>packed %n more files (pagoro-book list %1 names them all)</source>
        <translation>
            <numerusform>另外打包了 %n 個檔案（pagoro-book list %1 會全部列出）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>wrote %1: %n files, format %2, movie %3, %4</source>
        <translation>
            <numerusform>已寫入 %1：%n 個檔案，格式 %2，動畫 %3，%4</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 takes %n arguments</source>
        <translation>
            <numerusform>%1 需要 %n 個參數</numerusform>
        </translation>
    </message>
    <message>
        <source>no reader image: the book does not start by itself (--reader FILE)</source>
        <translation>沒有閱讀器程式：這本雜誌無法自行啟動（--reader FILE）</translation>
    </message>
    <message>
        <source>reader %1</source>
        <translation>閱讀器 %1</translation>
    </message>
    <message>
        <source>more than one folder to pack</source>
        <translation>要打包的資料夾超過一個</translation>
    </message>
    <message>
        <source>--format is 1.0 or 2.0</source>
        <translation>--format 應為 1.0 或 2.0</translation>
    </message>
    <message>
        <source>--size is WIDTHxHEIGHT, for example 800x600</source>
        <translation>--size 的格式為 寬x高，例如 800x600</translation>
    </message>
    <message>
        <source>pack needs a folder</source>
        <translation>pack 需要一個資料夾</translation>
    </message>
    <message>
        <source>pack needs -o OUT</source>
        <translation>pack 需要 -o OUT</translation>
    </message>
    <message>
        <source>%1 holds no %2: a magazine starts with its main movie; nothing was written</source>
        <translation>%1 中沒有 %2：雜誌從主動畫開始播放；沒有寫入任何檔案</translation>
    </message>
    <message>
        <source>warning: readers stop at the first file besides main.swf of a format 1.0 book (its entry line is read in the 2.0 layout); use format 2.0</source>
        <translation>警告：閱讀器讀到 1.0 格式雜誌中 main.swf 以外的第一個檔案時就會停止（其項目行以 2.0 的格式讀取）；請使用 2.0 格式</translation>
    </message>
    <message>
        <source>help takes at most one command</source>
        <translation>help 最多只接受一個指令</translation>
    </message>
    <message>
        <source>no command %1</source>
        <translation>沒有指令 %1</translation>
    </message>
    <message>
        <source>no command</source>
        <translation>沒有指定指令</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>未知指令 %1</translation>
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

將雜誌執行檔 BOOK 的閱讀器部分寫入 OUT：雜誌容器之前的全部位元組，
也就是雜誌啟動時執行的程式。為 Windows 製作的雜誌，這部分就是 Windows
閱讀器程式；之後用 `pack --reader OUT` 製作的雜誌就以它啟動，符合 Windows
閱讀器的要求。OUT 一律重新寫入（絕不會是 BOOK 本身）。

  -o, --output OUT    要寫入的檔案
  --                  選項結束（用於以 - 開頭的 BOOK 名稱）
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

檢視、解開和製作 pagoro 雜誌執行檔：由閱讀器程式和附加在其末尾的雜誌檔案
組成的雜誌。

指令：
  info BOOK           顯示格式版本、動畫尺寸和項目數
  list BOOK           列出每個項目：名稱、位移、存放大小和檔案大小
  extract BOOK DIR    將 BOOK 的檔案寫入空的資料夾 DIR
  pack DIR -o OUT     用 DIR 中的檔案製作雜誌執行檔 OUT
                      [--format 1.0|2.0] [--size WxH] [--reader FILE]
  reader BOOK -o OUT  將 BOOK 啟動時執行的程式（它的閱讀器）寫入 OUT
  help [COMMAND]      顯示本說明，或指令 COMMAND 的用法

選項：
  --help              顯示本說明；COMMAND --help 顯示該指令的用法
  --version           顯示版本資訊

資料輸出到標準輸出，訊息輸出到標準錯誤輸出。結束狀態：成功為 0，指令失敗為 1，
參數有誤為 2。
</translation>
    </message>
</context>
</TS>
