<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>SearchPanel</name>
    <message>
        <source>EAN %1: wrong check digit, searched as typed</source>
        <translation>国际编码 %1 校验位不符，已按原样搜索</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::BrowserView</name>
    <message>
        <source>Web page</source>
        <translation>网页</translation>
    </message>
    <message>
        <source>The web engine could not be loaded, so pages cannot be shown.
Installing Kelvra again should repair it.</source>
        <translation>无法加载网页引擎，因此无法显示页面。
重新安装 Kelvra 应可修复此问题。</translation>
    </message>
    <message>
        <source>There is no page to save.</source>
        <translation>没有可保存的页面。</translation>
    </message>
    <message>
        <source>The page is still being printed.</source>
        <translation>页面仍在打印中。</translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation>无法写入文件 %1。</translation>
    </message>
    <message>
        <source>There is no page to print.</source>
        <translation>没有可打印的页面。</translation>
    </message>
    <message>
        <source>The printer did not take the page.</source>
        <translation>打印机未能接收该页面。</translation>
    </message>
    <message>
        <source>This page stopped working.</source>
        <translation>此页面已停止运行。</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>重新加载</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::ClockStatus</name>
    <message>
        <source>Clock</source>
        <translation>时钟</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::FindBar</name>
    <message>
        <source>Find in page</source>
        <translation>在页面中查找</translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>上一个匹配项 (Shift+F3)</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>上一个匹配项</translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation>下一个匹配项 (F3)</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>下一个匹配项</translation>
    </message>
    <message>
        <source>Close the find bar (Esc)</source>
        <translation>关闭查找栏 (Esc)</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>关闭查找栏</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>无匹配项</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>第 %1 个，共 %2 个</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::GroupBar</name>
    <message>
        <source>Search and options</source>
        <translation>搜索与选项</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::KeyboardShortcuts</name>
    <message>
        <source>Go to the any-number field</source>
        <translation>转到任意编号输入框</translation>
    </message>
    <message>
        <source>Open group %1</source>
        <translation>打开第%1组</translation>
    </message>
    <message>
        <source>Opens with %1</source>
        <translation>快捷键：%1</translation>
    </message>
    <message>
        <source>%1: the any-number field</source>
        <translation>%1：任意编号输入框</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::NumberHistoryBinder</name>
    <message>
        <source>Clear search history</source>
        <translation>清除搜索记录</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::PageControl</name>
    <message>
        <source>Pages</source>
        <translation>页面</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::PagePrinting</name>
    <message>
        <source>Save as PDF</source>
        <translation>另存为 PDF</translation>
    </message>
    <message>
        <source>The page is still being printed.</source>
        <translation>页面仍在打印中。</translation>
    </message>
    <message>
        <source>There is no page to save.</source>
        <translation>没有可保存的页面。</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>There is no page to print.</source>
        <translation>没有可打印的页面。</translation>
    </message>
    <message>
        <source>Save the page as PDF</source>
        <translation>将页面另存为 PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <source>Print the page</source>
        <translation>打印页面</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::PageToolRow</name>
    <message>
        <source>Back (Alt+Left)</source>
        <translation>后退 (Alt+Left)</translation>
    </message>
    <message>
        <source>Forward (Alt+Right)</source>
        <translation>前进 (Alt+Right)</translation>
    </message>
    <message>
        <source>Zoom out (Ctrl+-)</source>
        <translation>缩小 (Ctrl+-)</translation>
    </message>
    <message>
        <source>Actual size (Ctrl+0)</source>
        <translation>实际大小 (Ctrl+0)</translation>
    </message>
    <message>
        <source>Zoom in (Ctrl++)</source>
        <translation>放大 (Ctrl++)</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Find in page (Ctrl+F)</source>
        <translation>在页面中查找 (Ctrl+F)</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Print the page (Ctrl+P)</source>
        <translation>打印页面 (Ctrl+P)</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Save the page as PDF (Ctrl+Shift+S)</source>
        <translation>将页面另存为 PDF (Ctrl+Shift+S)</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::QuotaStatus</name>
    <message>
        <source>Pages today: %1 (no limit)</source>
        <translation>今日产品页: %1 (不限)</translation>
    </message>
    <message>
        <source>Pages today: %1/%2</source>
        <translation>今日产品页: %1/%2</translation>
    </message>
    <message>
        <source> · VIP: %1/%2</source>
        <translation> · VIP: %1/%2</translation>
    </message>
    <message>
        <source>Product pages today</source>
        <translation>今日产品页</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::ServiceStatus</name>
    <message>
        <source>Service not answering, retrying</source>
        <translation>服务器没有响应，正在重试</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::SideChannel</name>
    <message>
        <source>Side panel</source>
        <translation>侧边栏</translation>
    </message>
    <message>
        <source>Pin side panel</source>
        <translation>固定侧边栏</translation>
    </message>
    <message>
        <source>Pin or unpin the side panel</source>
        <translation>固定或取消固定侧边栏</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::StatusHint</name>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::TUpdateForm</name>
    <message>
        <source>The update cannot be installed from this folder: its name has characters the update script cannot use. Nothing was changed; install the new version by hand.</source>
        <translation>无法在此文件夹中安装更新：其名称含有更新脚本无法使用的字符。未做任何更改；请手动安装新版本。</translation>
    </message>
    <message>
        <source>The update could not be started, so it was not installed. The program stays as it was.</source>
        <translation>无法启动更新，因此未安装更新。程序保持原样。</translation>
    </message>
    <message>
        <source>The last update could not be completed, so it was not installed. The program stays as it was.</source>
        <translation>上次更新未能完成，因此未安装。程序保持原样。</translation>
    </message>
</context>
<context>
    <name>kelvra::ui::TVersion</name>
    <message>
        <source>Loading</source>
        <translation>正在加载</translation>
    </message>
</context>
</TS>
