<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US">
<context>
    <name>CPackageInstaller</name>
    <message>
        <source>更新包无法打开: %1</source>
        <translation>The update package could not be opened: %1</translation>
    </message>
    <message>
        <source>更新包是空的: %1</source>
        <translation>The update package is empty: %1</translation>
    </message>
    <message>
        <source>更新包含有不安全的文件: %1</source>
        <translation>The update package holds an unsafe entry: %1</translation>
    </message>
    <message>
        <source>创建目录失败: %1</source>
        <translation>The folder could not be created: %1</translation>
    </message>
    <message>
        <source>正在解压缩...</source>
        <translation>Unpacking...</translation>
    </message>
    <message>
        <source>解压缩失败: %1</source>
        <translation>Unpacking failed: %1</translation>
    </message>
    <message>
        <source>解压缩完成，共%1个文件...</source>
        <translation>Unpacking done, %1 files...</translation>
    </message>
    <message>
        <source>创建目录:</source>
        <translation>Folder created:</translation>
    </message>
    <message>
        <source>开始文件替换...</source>
        <translation>Starting file replacement...</translation>
    </message>
    <message>
        <source>目标不在程序目录内: %1</source>
        <translation>The target is outside the program folder: %1</translation>
    </message>
    <message>
        <source>删除失败</source>
        <translation>Delete failed</translation>
    </message>
    <message>
        <source>替换失败</source>
        <translation>Replace failed</translation>
    </message>
    <message>
        <source>删除成功</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>替换文件成功！</source>
        <translation>File replaced!</translation>
    </message>
    <message>
        <source>完成文件替换</source>
        <translation>File replacement finished</translation>
    </message>
    <message>
        <source>还原文件: </source>
        <translation>Restoring file: </translation>
    </message>
    <message>
        <source>旧文件还原失败，保留在 %1</source>
        <translation>The old files could not be restored; they are kept in %1</translation>
    </message>
    <message>
        <source>创建临时目录成功！</source>
        <translation>Temporary folder created!</translation>
    </message>
    <message>
        <source>删除临时目录：</source>
        <translation>Temporary folder deleted: </translation>
    </message>
</context>
<context>
    <name>CUpdateRules</name>
    <message>
        <source>大小未知</source>
        <translation>Size unknown</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>约 %1 小时</source>
        <translation>about %1 hours</translation>
    </message>
    <message>
        <source>约1小时</source>
        <translation>about 1 hour</translation>
    </message>
    <message>
        <source>%1 分钟</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>1 分钟</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>1 秒</source>
        <translation>1 second</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 seconds</translation>
    </message>
</context>
<context>
    <name>Downloader</name>
    <message>
        <source>下载更新</source>
        <translation>Download update</translation>
    </message>
    <message>
        <source>开始下载更新...</source>
        <translation>Starting to download the update...</translation>
    </message>
    <message>
        <source>大小未知</source>
        <translation>Size unknown</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>下载失败: </source>
        <translation>Download failed: </translation>
    </message>
    <message>
        <source>正在下载更新文件</source>
        <translation>Downloading the update file</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>下载失败</source>
        <translation>Download failed</translation>
    </message>
    <message>
        <source>下载完成</source>
        <translation>Download complete</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>下载完成:</source>
        <translation>Download complete:</translation>
    </message>
    <message>
        <source>为安装新版本程序，将退出当前程序</source>
        <translation>To install the new version, the current program will be closed</translation>
    </message>
    <message>
        <source>为完成更新，将退出当前运行的程序</source>
        <translation>To complete the update, the running program will be closed</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>点击OK打开新版本程序</source>
        <translation>Click OK to open the new version</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>不支持RAR格式的更新包，请使用ZIP格式: %1</source>
        <translation>RAR update packages are not supported, please use ZIP: %1</translation>
    </message>
    <message>
        <source>找不到更新文件!</source>
        <translation>Update file not found!</translation>
    </message>
    <message>
        <source>关闭主程序 </source>
        <translation>Closing the main program </translation>
    </message>
    <message>
        <source>关闭进程ID: </source>
        <translation>Closing process ID: </translation>
    </message>
    <message>
        <source>主程序无法关闭: </source>
        <translation>The main program could not be closed: </translation>
    </message>
    <message>
        <source>更新失败: </source>
        <translation>Update failed: </translation>
    </message>
    <message>
        <source>重新启动主程序</source>
        <translation>Restarting the main program</translation>
    </message>
    <message>
        <source>主程序无法启动: </source>
        <translation>The main program could not be started: </translation>
    </message>
    <message>
        <source>确定取消下载吗? 这是必要的更新，现在退出将关闭应用</source>
        <translation>Really cancel the download? This update is required; cancelling closes the application</translation>
    </message>
    <message>
        <source>确定取消下载吗?</source>
        <translation>Really cancel the download?</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>软件更新</source>
        <translation>Software update</translation>
    </message>
    <message>
        <source>模块路径：</source>
        <translation>Module path:</translation>
    </message>
    <message>
        <source>模块名称：</source>
        <translation>Module name:</translation>
    </message>
    <message>
        <source>URL：</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>当前版本：</source>
        <translation>Current version:</translation>
    </message>
    <message>
        <source>最新版本：</source>
        <translation>Latest version:</translation>
    </message>
    <message>
        <source>检查更新</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>菜单</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>传入参数不正确!</source>
        <translation>Incorrect arguments!</translation>
    </message>
    <message>
        <source>开始检查更新...</source>
        <translation>Starting the update check...</translation>
    </message>
    <message>
        <source>版本检查失败!</source>
        <translation>Version check failed!</translation>
    </message>
    <message>
        <source>检测到最新版本: </source>
        <translation>Latest version found: </translation>
    </message>
    <message>
        <source>更新日志: </source>
        <translation>Change log: </translation>
    </message>
</context>
<context>
    <name>Updater</name>
    <message>
        <source>检查失败</source>
        <translation>Check failed</translation>
    </message>
    <message>
        <source>检查更新失败 %1，服务器返回失败，error=%2!</source>
        <translation>Update check of %1 failed, the server returned an error, error=%2!</translation>
    </message>
    <message>
        <source>检查更新失败 %1, Json解析失败!</source>
        <translation>Update check of %1 failed, JSON could not be parsed!</translation>
    </message>
    <message>
        <source>应用[%1]的 %2 版本已经发布!</source>
        <translation>Version %2 of application [%1] has been released!</translation>
    </message>
    <message>
        <source>您希望立即下载最新版本吗? 这是必要的更新，现在退出将关闭应用</source>
        <translation>Do you want to download the latest version now? This update is required; declining closes the application</translation>
    </message>
    <message>
        <source>您希望立即下载最新版本吗?</source>
        <translation>Do you want to download the latest version now?</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
</TS>