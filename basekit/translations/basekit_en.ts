<?xml version='1.0' encoding='utf-8'?>
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
    <name>CLogView</name>
    <message>
        <source>...(共%1个字符)</source>
        <translation>... (%1 characters in all)</translation>
    </message>
</context>
<context>
    <name>CSafeFile</name>
    <message>
        <source>%1 无法打开</source>
        <translation>%1 cannot be opened</translation>
    </message>
    <message>
        <source>%1 不是普通文件, 已拒绝</source>
        <translation>%1 is not a regular file; refused</translation>
    </message>
    <message>
        <source>%1 过大(%2字节), 已拒绝</source>
        <translation>%1 is too large (%2 bytes); refused</translation>
    </message>
    <message>
        <source>%1 在目录%2之外, 已拒绝</source>
        <translation>%1 lies outside the folder %2; refused</translation>
    </message>
    <message>
        <source>%1 写入失败</source>
        <translation>Writing %1 failed</translation>
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
    <name>HexTool</name>
    <message>
        <source>HEX文件转换bin数据成功!</source>
        <translation>HEX file converted to binary data!</translation>
    </message>
    <message>
        <source>HEX文件转换出错，数据太长</source>
        <translation>HEX conversion error: data too long</translation>
    </message>
    <message>
        <source>HEX文件转换出错，数据太短</source>
        <translation>HEX conversion error: data too short</translation>
    </message>
    <message>
        <source>HEX文件转换出错，无符号</source>
        <translation>HEX conversion error: no start mark</translation>
    </message>
    <message>
        <source>HEX文件转换出错，类型出错，不存在</source>
        <translation>HEX conversion error: unknown record type</translation>
    </message>
    <message>
        <source>HEX文件转换出错，数据长度字段和内容的总长度不对应</source>
        <translation>HEX conversion error: the length field does not match the content</translation>
    </message>
    <message>
        <source>HEX文件转换出错，校验错误</source>
        <translation>HEX conversion error: checksum error</translation>
    </message>
    <message>
        <source>HEX文件转换出错，HEX文件不存在</source>
        <translation>HEX conversion error: the HEX file does not exist</translation>
    </message>
    <message>
        <source>HEX文件转换出错，BIN文件路径不正确</source>
        <translation>HEX conversion error: wrong BIN file path</translation>
    </message>
    <message>
        <source>HEX文件转换出错，写数据出错</source>
        <translation>HEX conversion error: write error</translation>
    </message>
    <message>
        <source>HEX文件转换出错，HEX文件没有结束符</source>
        <translation>HEX conversion error: the HEX file has no end record</translation>
    </message>
    <message>
        <source>HEX文件转换出错，含有非十六进制字符</source>
        <translation>HEX conversion error: a character is not a hex digit</translation>
    </message>
    <message>
        <source>HEX文件转换出错，地址范围过大</source>
        <translation>HEX conversion error: the address range is too large</translation>
    </message>
    <message>
        <source>HEX文件转换出错!</source>
        <translation>HEX conversion error!</translation>
    </message>
    <message>
        <source>转换数据为空!</source>
        <translation>The converted data is empty!</translation>
    </message>
    <message>
        <source>目标文件打开失败 </source>
        <translation>Opening the target file failed </translation>
    </message>
    <message>
        <source>part文件打开失败 </source>
        <translation>Opening the part file failed </translation>
    </message>
    <message>
        <source>BIN文件不存在!</source>
        <translation>The BIN file does not exist!</translation>
    </message>
    <message>
        <source>HEX文件路径错误!</source>
        <translation>Wrong HEX file path!</translation>
    </message>
    <message>
        <source>BIN文件转换HEX文件成功!</source>
        <translation>BIN file converted to HEX file!</translation>
    </message>
    <message>
        <source> (第%1行)</source>
        <translation> (line %1)</translation>
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
    <name>SingleApplication</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>%1 已经在运行，不能重复启动!</source>
        <translation>%1 is already running and cannot be started twice!</translation>
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