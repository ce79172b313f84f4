<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>SearchPanel</name>
    <message>
        <source>EAN %1: wrong check digit, searched as typed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::BrowserView</name>
    <message>
        <source>Web page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web engine could not be loaded, so pages cannot be shown.
Installing Kelvra again should repair it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no page to save.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page is still being printed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no page to print.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The printer did not take the page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This page stopped working.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::ClockStatus</name>
    <message>
        <source>Clock</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::FindBar</name>
    <message>
        <source>Find in page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the find bar (Esc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::GroupBar</name>
    <message>
        <source>Search and options</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::KeyboardShortcuts</name>
    <message>
        <source>Go to the any-number field</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open group %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opens with %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the any-number field</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::NumberHistoryBinder</name>
    <message>
        <source>Clear search history</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::PageControl</name>
    <message>
        <source>Pages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::PagePrinting</name>
    <message>
        <source>Save as PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page is still being printed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no page to save.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no page to print.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the page as PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::PageToolRow</name>
    <message>
        <source>Back (Alt+Left)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward (Alt+Right)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out (Ctrl+-)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual size (Ctrl+0)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in (Ctrl++)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find in page (Ctrl+F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the page (Ctrl+P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the page as PDF (Ctrl+Shift+S)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::QuotaStatus</name>
    <message>
        <source>Pages today: %1 (no limit)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pages today: %1/%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> · VIP: %1/%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Product pages today</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::ServiceStatus</name>
    <message>
        <source>Service not answering, retrying</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::SideChannel</name>
    <message>
        <source>Side panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pin side panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pin or unpin the side panel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::StatusHint</name>
    <message>
        <source>Hint</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::TUpdateForm</name>
    <message>
        <source>The update cannot be installed from this folder: its name has characters the update script cannot use. Nothing was changed; install the new version by hand.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update could not be started, so it was not installed. The program stays as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last update could not be completed, so it was not installed. The program stays as it was.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kelvra::ui::TVersion</name>
    <message>
        <source>Loading</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
