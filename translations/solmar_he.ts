<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he">
<context>
    <name>Accessibility</name>
    <message>
        <source>Reading panes</source>
        <translation>חלוניות הקריאה</translation>
    </message>
    <message>
        <source>Commentary</source>
        <translation>פירוש</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>עמוד</translation>
    </message>
    <message>
        <source>Page position</source>
        <translation>מיקום בעמוד</translation>
    </message>
    <message>
        <source>Commentary position</source>
        <translation>מיקום בפירוש</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: solmar [OPTION]...
Reads the Hebrew book carried inside the program: each page above, its commentary below.

  --help               show this help and exit
  --version            show the version and exit
  --quit               close the running reader as Exit does (it saves its settings)
  --find PATTERN       list every place in the book that PATTERN matches and exit: Hebrew in
                       reading order, * for any run of characters, ? for any one; one line a
                       hit: article, end offset, length, the text matched (exit 1: none)
  --dump N             write article N (1 to 286) as Copy puts it on the clipboard as text:
                       UTF-8, reading order, CR LF line ends; default letter base and options
  --rtf N              write article N as the RTF document Copy puts on the clipboard
  --verses REF         print the verses of the reference REF (&quot;Gen 1:3-5&quot;, &quot;בראשית א:ג&quot;), one a
                       line as the page reads them, then the reference (exit 2: no such verse)
  --goto REF           open the reader at the verse REF, selected; a running reader goes there
                       (with --screenshot: the picture shows the verse selected)
  --screenshot FILE    draw the reader&apos;s window off screen into the PNG file FILE and exit
    --size WxH         with a window of W x H pixels (default 540x800)
    --article N        showing article N, 1 to 286 (default 1)
  --pdf FILE           write the book&apos;s pages as printed (each page&apos;s title, text and
                       commentary) to the PDF file FILE and exit, without a window
    --pages A-B        pages A to B only, 1 to 143, or one page A (default: all)
    --paper SIZE       a4 (the default) or letter
  --lang he|en         speak Hebrew (right to left) or English for this run, whatever
                       the desktop&apos;s language or the choice stored in the reader

--find, --verses, --dump, --rtf, --pdf, --quit and --screenshot never read or write the reader&apos;s settings.
Qt&apos;s own options (-platform NAME, -style NAME, -session ID, ...) are passed on to Qt;
any other argument is ignored with a warning.
</source>
        <translation>שימוש: solmar [אפשרות]...
קורא את הספר העברי שבתוך התוכנית: כל עמוד למעלה, והפירוש שלו למטה.

  --help               הצגת עזרה זו ויציאה
  --version            הצגת הגרסה ויציאה
  --quit               סגירת הקורא הפועל כפי ש&quot;יציאה&quot; סוגרת אותו (והוא שומר את ההגדרות)
  --find PATTERN       רשימת כל המקומות בספר שהתבנית PATTERN מתאימה להם, ויציאה: עברית
                       בסדר קריאה, * לכל רצף של תווים, ? לתו אחד; שורה לכל מופע:
                       מאמר, היסט הסוף, אורך, הטקסט שנמצא (קוד יציאה 1: אין מופעים)
  --dump N             כתיבת מאמר N (1 עד 286) כפי שהעתקה שמה אותו בלוח הגזירים כטקסט:
                       UTF-8, סדר קריאה, סופי שורות CR LF; בסיס האותיות והאפשרויות כברירת המחדל
  --rtf N              כתיבת מאמר N כמסמך ה־RTF שהעתקה שמה בלוח הגזירים
  --verses REF         הדפסת הפסוקים של מראה המקום REF (‏&quot;Gen 1:3-5&quot;, &quot;בראשית א:ג&quot;), פסוק
                       בשורה כפי שהעמוד קורא אותם, ואחריהם מראה המקום (קוד יציאה 2: אין פסוק כזה)
  --goto REF           פתיחת הקורא בפסוק REF, כשהוא מסומן; קורא שכבר פועל עובר אליו
                       (עם --screenshot: התמונה מראה את הפסוק מסומן)
  --screenshot FILE    ציור חלון הקורא מחוץ למסך אל קובץ ה־PNG בשם FILE, ויציאה
    --size WxH         בחלון של W על H פיקסלים (ברירת המחדל 540x800)
    --article N        כשהוא מציג את מאמר N, מ־1 עד 286 (ברירת המחדל 1)
  --pdf FILE           כתיבת עמודי הספר כפי שהם מודפסים (כותרת כל עמוד, הטקסט והפירוש)
                       אל קובץ ה־PDF בשם FILE, ויציאה, בלי חלון
    --pages A-B        רק העמודים A עד B, מ־1 עד 143, או עמוד אחד A (ברירת המחדל: כולם)
    --paper SIZE       a4 (ברירת המחדל) או letter
  --lang he|en         עברית (מימין לשמאל) או אנגלית בהרצה זו, בלי קשר לשפת שולחן
                       העבודה או לבחירה השמורה בקורא

האפשרויות --find, --verses, --dump, --rtf, --pdf, --quit ו־--screenshot אינן קוראות ואינן כותבות את הגדרות הקורא.
האפשרויות של Qt עצמה (-platform NAME, -style NAME, -session ID, ...) מועברות ל־Qt;
מכל ארגומנט אחר מתעלמים, עם אזהרה.
</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>לאפשרות %1 חסר ערך</translation>
    </message>
    <message>
        <source>%1 wants a number from 1 to %2 (got &quot;%3&quot;)</source>
        <translation>האפשרות %1 מקבלת מספר מ־1 עד %2 (התקבל „%3”)</translation>
    </message>
    <message>
        <source>--size wants WxH, each from 100 to 8192 (got &quot;%1&quot;)</source>
        <translation>האפשרות --size מקבלת WxH, כל אחד מ־100 עד 8192 (התקבל „%1”)</translation>
    </message>
    <message>
        <source>--lang wants he or en (got &quot;%1&quot;)</source>
        <translation>האפשרות --lang מקבלת he או en (התקבל „%1”)</translation>
    </message>
    <message>
        <source>--article wants a number from 1 to %1 (got &quot;%2&quot;)</source>
        <translation>האפשרות --article מקבלת מספר מ־1 עד %1 (התקבל „%2”)</translation>
    </message>
    <message>
        <source>--size and --article go with --screenshot</source>
        <translation>האפשרויות --size ו־--article באות רק עם --screenshot</translation>
    </message>
    <message>
        <source>--pages and --paper go with --pdf</source>
        <translation>האפשרויות --pages ו־--paper באות רק עם --pdf</translation>
    </message>
    <message>
        <source>--pdf goes alone, with --pages and --paper only</source>
        <translation>האפשרות --pdf באה לבדה, ולצדה רק --pages ו־--paper</translation>
    </message>
    <message>
        <source>--dump and --rtf go alone, one at a time</source>
        <translation>האפשרויות --dump ו־--rtf באות לבדן, אחת בכל פעם</translation>
    </message>
    <message>
        <source>--verses goes alone</source>
        <translation>האפשרות --verses באה לבדה</translation>
    </message>
    <message>
        <source>--goto goes alone, or with --screenshot</source>
        <translation>האפשרות --goto באה לבדה, או עם --screenshot</translation>
    </message>
    <message>
        <source>--find goes alone, without --quit or --screenshot</source>
        <translation>האפשרות --find באה לבדה, בלי --quit ובלי --screenshot</translation>
    </message>
    <message>
        <source>--quit and --screenshot do not go together</source>
        <translation>אי אפשר לתת את --quit ואת --screenshot יחד</translation>
    </message>
    <message>
        <source>ignoring unknown argument &quot;%1&quot; (see solmar --help)</source>
        <translation>מתעלמים מהארגומנט הלא מוכר „%1” (ראו solmar --help)</translation>
    </message>
    <message>
        <source>no reader is running</source>
        <translation>אין קורא פועל</translation>
    </message>
    <message>
        <source>--find wants a pattern with something to look for</source>
        <translation>האפשרות --find מקבלת תבנית שיש בה מה לחפש</translation>
    </message>
    <message>
        <source>the pattern is longer than %1 characters</source>
        <translation>התבנית ארוכה מ־%1 תווים</translation>
    </message>
    <message>
        <source>the book&apos;s text cannot hold &quot;%1&quot; (U+%2), so the pattern matches nothing</source>
        <translation>טקסט הספר אינו יכול להכיל את „%1” (U+%2), ולכן התבנית אינה מתאימה לשום מקום</translation>
    </message>
    <message>
        <source>the book carried in the program cannot be read</source>
        <translation>אי אפשר לקרוא את הספר שבתוך התוכנית</translation>
    </message>
    <message>
        <source>%1 articles could not be read and were passed over</source>
        <translation>%1 מאמרים לא נקראו ודילגנו עליהם</translation>
    </message>
    <message>
        <source>a page of the book cannot be read</source>
        <translation>אי אפשר לקרוא עמוד מעמודי הספר</translation>
    </message>
    <message>
        <source>cannot write the verses</source>
        <translation>אי אפשר לכתוב את הפסוקים</translation>
    </message>
    <message>
        <source>article %1 cannot be read</source>
        <translation>אי אפשר לקרוא את מאמר %1</translation>
    </message>
    <message>
        <source>not enough memory for article %1</source>
        <translation>אין די זיכרון למאמר %1</translation>
    </message>
    <message>
        <source>cannot write article %1</source>
        <translation>אי אפשר לכתוב את מאמר %1</translation>
    </message>
    <message>
        <source>cannot make a temporary directory for the screenshot</source>
        <translation>אי אפשר ליצור תיקייה זמנית לצילום המסך</translation>
    </message>
    <message>
        <source>the window could not be made</source>
        <translation>אי אפשר היה ליצור את החלון</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>אי אפשר לכתוב אל %1</translation>
    </message>
    <message>
        <source>--pages wants a page or a range A-B (got &quot;%1&quot;)</source>
        <translation>האפשרות --pages מקבלת עמוד או טווח A-B (התקבל „%1”)</translation>
    </message>
    <message>
        <source>--pages: the book has pages 1 to %1 (got &quot;%2&quot;)</source>
        <translation>--pages: בספר יש עמודים מ־1 עד %1 (התקבל „%2”)</translation>
    </message>
    <message>
        <source>--pages: the range &quot;%1&quot; runs backwards</source>
        <translation>--pages: הטווח „%1” הפוך, סופו לפני תחילתו</translation>
    </message>
    <message>
        <source>--paper wants a4 or letter (got &quot;%1&quot;)</source>
        <translation>האפשרות --paper מקבלת a4 או letter (התקבל „%1”)</translation>
    </message>
    <message>
        <source>page %1 cannot be read</source>
        <translation>אי אפשר לקרוא את עמוד %1</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>Solmar</source>
        <translation>סולמר</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>אישור</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>עמוד</translation>
    </message>
    <message>
        <source>In</source>
        <translation>חלק</translation>
    </message>
    <message>
        <source>Verse</source>
        <translation>פסוק</translation>
    </message>
    <message>
        <source>Context</source>
        <translation>הקשר</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>חיפוש</translation>
    </message>
    <message>
        <source>Find &amp;All</source>
        <translation>&amp;כל המופעים</translation>
    </message>
    <message>
        <source>Solmar Hebrew Reader</source>
        <translation>סולמר – קורא עברי</translation>
    </message>
    <message>
        <source>Version 1.84a</source>
        <translation>גרסה 1.84a</translation>
    </message>
    <message>
        <source>Text: Westminster Leningrad Codex, public domain. Morphology: Open Scriptures Hebrew Bible, CC BY 4.0</source>
        <translation>הטקסט: כתב יד לנינגרד במהדורת וסטמינסטר, נחלת הכלל. ניתוח צורני: Open Scriptures Hebrew Bible, ‏CC BY 4.0</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>שפת שולחן העבודה</translation>
    </message>
    <message>
        <source>The reader speaks the new language from its next start.</source>
        <translation>השפה החדשה תוצג מההפעלה הבאה של הקורא.</translation>
    </message>
    <message>
        <source>Choose Font</source>
        <translation>בחירת גופן</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>כל המופעים</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>שפת הממשק</translation>
    </message>
    <message>
        <source>Choose Section</source>
        <translation>בחירת פרק</translation>
    </message>
    <message>
        <source>Printing page %1…</source>
        <translation>מדפיס את עמוד %1…</translation>
    </message>
    <message>
        <source>Choose the font for reading; you can change it later with Ctrl+F</source>
        <translation>בחרו גופן לקריאה; אפשר לשנות אותו בהמשך בתפריט „עיון”, בפקודה „גופן”</translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation>&amp;גופן</translation>
    </message>
    <message>
        <source>&amp;Letter base</source>
        <translation>&amp;בסיס האותיות</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>גו&amp;דל</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>Type a reference: a book, a chapter and a verse, such as Genesis 1:3.</source>
        <translation>הקלידו מראה מקום: ספר, פרק ופסוק, למשל בראשית א:ג.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not one of the five books: write Genesis, Exodus, Leviticus, Numbers or Deuteronomy, in Hebrew or in English.</source>
        <translation>„%1” אינו אחד מחמשת החומשים: כתבו בראשית, שמות, ויקרא, במדבר או דברים, בעברית או באנגלית.</translation>
    </message>
    <message>
        <source>The chapter number is missing.</source>
        <translation>חסר מספר הפרק.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a chapter number.</source>
        <translation>„%1” אינו מספר פרק.</translation>
    </message>
    <message>
        <source>The verse number is missing.</source>
        <translation>חסר מספר הפסוק.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a verse number.</source>
        <translation>„%1” אינו מספר פסוק.</translation>
    </message>
    <message>
        <source>%1 has no chapter %2: it has %3 chapters.</source>
        <translation>אין בספר %1 פרק %2: יש בו %3 פרקים.</translation>
    </message>
    <message>
        <source>Chapter %1 of %2 has no verse %3: it has %4 verses.</source>
        <translation>אין בפרק %1 של ספר %2 פסוק %3: יש בו %4 פסוקים.</translation>
    </message>
    <message>
        <source>The range &quot;%1&quot; runs backwards: its end comes before its start.</source>
        <translation>הטווח „%1” הפוך: סופו קודם לתחילתו.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; after the reference is not understood.</source>
        <translation>„%1” שאחרי מראה המקום אינו מובן.</translation>
    </message>
    <message>
        <source>A reference cannot hold &quot;%1&quot;.</source>
        <translation>מראה מקום אינו יכול להכיל „%1”.</translation>
    </message>
    <message>
        <source>The page of this verse cannot be shown.</source>
        <translation>לא ניתן להציג את העמוד של פסוק זה.</translation>
    </message>
    <message>
        <source>&amp;Verse (Genesis 1:3, בראשית א:ג-ה):</source>
        <translation>&amp;פסוק (בראשית א:ג, בראשית א:ג-ה):</translation>
    </message>
    <message>
        <source>Go to Verse</source>
        <translation>מעבר לפסוק</translation>
    </message>
</context>
<context>
    <name>FindAll</name>
    <message>
        <source> hit</source>
        <translation> מופע</translation>
    </message>
    <message>
        <source> hits</source>
        <translation> מופעים</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>מקור</translation>
    </message>
    <message>
        <source>Commentary</source>
        <translation>פירוש</translation>
    </message>
    <message>
        <source>Page </source>
        <translation>עמוד </translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;About</source>
        <translation>&amp;אודות</translation>
    </message>
    <message>
        <source>Check For &amp;Updates</source>
        <translation>בדיקת עדכ&amp;ונים</translation>
    </message>
    <message>
        <source>F&amp;ont<byte value="x8"/>Ctrl+F</source>
        <translation>&amp;גופן<byte value="x8"/>Ctrl+F</translation>
    </message>
    <message>
        <source>Re&amp;verse</source>
        <translation>הי&amp;פוך</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>שפת ה&amp;ממשק</translation>
    </message>
    <message>
        <source>&amp;Index<byte value="x8"/>Ctrl+D</source>
        <translation>&amp;תוכן העניינים<byte value="x8"/>Ctrl+D</translation>
    </message>
    <message>
        <source>&amp;Bookmark</source>
        <translation>&amp;סימנייה</translation>
    </message>
    <message>
        <source>&amp;Previous Article</source>
        <translation>העמוד ה&amp;קודם</translation>
    </message>
    <message>
        <source>&amp;Next Article</source>
        <translation>העמוד ה&amp;בא</translation>
    </message>
    <message>
        <source>&amp;Search<byte value="x8"/>Alt+F3</source>
        <translation>&amp;חיפוש<byte value="x8"/>Alt+F3</translation>
    </message>
    <message>
        <source>Search A&amp;gain<byte value="x8"/>F3</source>
        <translation>&amp;המשך חיפוש<byte value="x8"/>F3</translation>
    </message>
    <message>
        <source>Find &amp;All<byte value="x8"/>Shift+F3</source>
        <translation>&amp;כל המופעים<byte value="x8"/>Shift+F3</translation>
    </message>
    <message>
        <source>&amp;Copy<byte value="x8"/>Ctrl+C</source>
        <translation>ה&amp;עתקה<byte value="x8"/>Ctrl+C</translation>
    </message>
    <message>
        <source>&amp;Append to ClipBoard<byte value="x8"/>Ctrl+E</source>
        <translation>הוספה ל&amp;לוח הגזירים<byte value="x8"/>Ctrl+E</translation>
    </message>
    <message>
        <source>E&amp;xit<byte value="x8"/>Ctrl+Q</source>
        <translation>&amp;יציאה<byte value="x8"/>Ctrl+Q</translation>
    </message>
    <message>
        <source>1/&amp;4 Screen</source>
        <translation>1/&amp;4 מסך</translation>
    </message>
    <message>
        <source>1/&amp;3 Screen</source>
        <translation>1/&amp;3 מסך</translation>
    </message>
    <message>
        <source>1/&amp;2 Screen</source>
        <translation>1/&amp;2 מסך</translation>
    </message>
    <message>
        <source>2/3 Screen</source>
        <translation>2/3 מסך</translation>
    </message>
    <message>
        <source>3/4 Screen</source>
        <translation>3/4 מסך</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;ללא</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;עיון</translation>
    </message>
    <message>
        <source>&amp;Quelm</source>
        <translation>&amp;פירוש</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>עיון</translation>
    </message>
    <message>
        <source>Quelm</source>
        <translation>פירוש</translation>
    </message>
    <message>
        <source>P&amp;rint…<byte value="x8"/>Ctrl+P</source>
        <translation>ה&amp;דפסה…<byte value="x8"/>Ctrl+P</translation>
    </message>
    <message>
        <source>Dar&amp;k Colours<byte value="x8"/>Ctrl+Shift+N</source>
        <translation>&amp;צבעים כהים<byte value="x8"/>Ctrl+Shift+N</translation>
    </message>
    <message>
        <source>Go to &amp;Verse…<byte value="x8"/>Ctrl+G</source>
        <translation>מעב&amp;ר לפסוק…<byte value="x8"/>Ctrl+G</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>UnCompress() buffer error!</source>
        <translation>שגיאה בפריסת הטקסט הדחוס!</translation>
    </message>
    <message>
        <source>(obuf &gt; (start + size))</source>
        <translation>שגיאה פנימית בהעתקה: (obuf &gt; (start + size))</translation>
    </message>
    <message>
        <source>Not Found!</source>
        <translation>לא נמצא!</translation>
    </message>
    <message>
        <source>Solmar</source>
        <translation>סולמר</translation>
    </message>
    <message>
        <source>There is not enough memory, aborting</source>
        <translation>אין די זיכרון, הקורא נסגר</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>שגיאה</translation>
    </message>
    <message>
        <source>Remove Bookmark?

Cancel - Don&apos;t ask again</source>
        <translation>להסיר את הסימנייה?

ביטול – בלי לשאול שוב</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>סימנייה</translation>
    </message>
    <message>
        <source>Resource not found</source>
        <translation>המשאב לא נמצא</translation>
    </message>
    <message>
        <source>The book&apos;s text cannot hold &quot;%1&quot; (U+%2), so the search cannot look for it.</source>
        <translation>הטקסט של הספר אינו יכול להכיל את „%1” (U+%2), ולכן החיפוש אינו יכול לחפש אותו.</translation>
    </message>
    <message>
        <source>The search text is longer than 33 characters.</source>
        <translation>טקסט החיפוש ארוך מ־33 תווים.</translation>
    </message>
    <message>
        <source>The pages could not be printed.</source>
        <translation>לא ניתן היה להדפיס את העמודים.</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>הדפסה</translation>
    </message>
    <message>
        <source>Go to Verse</source>
        <translation>מעבר לפסוק</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;ביטול פעולה</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>בי&amp;צוע חוזר</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;גזירה</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>ה&amp;עתקה</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>ה&amp;דבקה</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>מחיקה</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>בחירת הכול</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>אישור</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;כן</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;לא</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Copy</source>
        <translation>ה&amp;עתקה</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>בחירת הכול</translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>Tools</source>
        <translation>כלים</translation>
    </message>
    <message>
        <source>More tool buttons</source>
        <translation>כפתורי כלים נוספים</translation>
    </message>
    <message>
        <source>Previous Article</source>
        <translation>העמוד הקודם</translation>
    </message>
    <message>
        <source>Choose Article</source>
        <translation>בחירת עמוד</translation>
    </message>
    <message>
        <source>Next Article</source>
        <translation>העמוד הבא</translation>
    </message>
    <message>
        <source>Choose Font</source>
        <translation>בחירת גופן</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>חיפוש</translation>
    </message>
    <message>
        <source>Search Again</source>
        <translation>המשך חיפוש</translation>
    </message>
</context>
</TS>
