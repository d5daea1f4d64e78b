<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>CDiskEject</name>
    <message>
        <source>%1 无响应</source>
        <translation>%1 does not respond</translation>
    </message>
    <message>
        <source>%1 执行失败</source>
        <translation>%1 failed</translation>
    </message>
    <message>
        <source>%1 不是已挂载的磁盘</source>
        <translation>%1 is not a mounted disk</translation>
    </message>
    <message>
        <source>系统盘不能弹出</source>
        <translation>The system disk cannot be ejected</translation>
    </message>
</context>
<context>
    <name>FuncTool</name>
    <message>
        <source>目标目录创建失败.</source>
        <translation>The target folder could not be created.</translation>
    </message>
    <message>
        <source>读源文件失败</source>
        <translation>The source file could not be read</translation>
    </message>
    <message>
        <source>写目标文件失败</source>
        <translation>The target file could not be written</translation>
    </message>
    <message>
        <source>源目录不存在</source>
        <translation>The source folder does not exist</translation>
    </message>
</context>
<context>
    <name>SelDataDlg</name>
    <message>
        <source>对象选择</source>
        <translation>Select objects</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>选中</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>不选</source>
        <translation>Uncheck</translation>
    </message>
</context>
<context>
    <name>UpdateInter</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source> 未找到，无法检查更新!</source>
        <translation> not found, cannot check for updates!</translation>
    </message>
</context>
<context>
    <name>UserPwdDlg</name>
    <message>
        <source>用户信息</source>
        <translation>User information</translation>
    </message>
    <message>
        <source>用户名和密码</source>
        <translation>User name and password</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>用户名和密码不允许为空!</source>
        <translation>User name and password may not be empty!</translation>
    </message>
</context>
<context>
    <name>skindlg</name>
    <message>
        <source>设置主题色</source>
        <translation>Set theme colour</translation>
    </message>
    <message>
        <source>请选择主题色:</source>
        <translation>Please choose a theme colour:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>银色</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>浅蓝色</source>
        <translation>Light blue</translation>
    </message>
    <message>
        <source>深蓝色</source>
        <translation>Dark blue</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>浅灰色</source>
        <translation>Light grey</translation>
    </message>
    <message>
        <source>深灰色</source>
        <translation>Dark grey</translation>
    </message>
    <message>
        <source>黑色</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>浅黑色</source>
        <translation>Light black</translation>
    </message>
    <message>
        <source>深黑色</source>
        <translation>Dark black</translation>
    </message>
    <message>
        <source>PS黑色</source>
        <translation>PS black</translation>
    </message>
    <message>
        <source>黑色扁平</source>
        <translation>Flat black</translation>
    </message>
    <message>
        <source>白色扁平</source>
        <translation>Flat white</translation>
    </message>
    <message>
        <source>无(重启后生效)</source>
        <translation>None (takes effect after restart)</translation>
    </message>
</context>
</TS>
