<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>CBackupTarget</name>
    <message>
        <source>下载器无应答</source>
        <translation>The programmer does not answer</translation>
    </message>
    <message>
        <source>下载器忙或未初始化完成</source>
        <translation>The programmer is busy or not initialised yet</translation>
    </message>
    <message>
        <source>程序文件读取失败！</source>
        <translation>Reading the program file failed!</translation>
    </message>
    <message>
        <source>读取当前下载器序列文件失败</source>
        <translation>Reading the programmer's index file failed</translation>
    </message>
</context>
<context>
    <name>CCloudUpload</name>
    <message>
        <source>当前文件数据不存在！ %1</source>
        <translation>The file data does not exist! %1</translation>
    </message>
    <message>
        <source>当前文件数据读取失败！</source>
        <translation>Reading the file data failed!</translation>
    </message>
    <message>
        <source>上传文件数据，偏移量错误！</source>
        <translation>Uploading file data: wrong offset!</translation>
    </message>
    <message>
        <source>未上传的文件, 已忽略:</source>
        <translation>A file that is not being uploaded, ignored: </translation>
    </message>
    <message>
        <source>下载器：%1， 上传文件数据失败</source>
        <translation>Programmer %1: uploading file data failed</translation>
    </message>
</context>
<context>
    <name>CExportPrompt</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>CImagePanel</name>
    <message>
        <source>起始地址格式错误:%1</source>
        <translation>Start address is not a hex number: %1</translation>
    </message>
    <message>
        <source>下载器未选择!</source>
        <translation>No programmer selected!</translation>
    </message>
    <message>
        <source>镜像号设置失败，原因为:%1</source>
        <translation>Setting the image number failed, reason: %1</translation>
    </message>
    <message>
        <source>下载镜像：镜像号=%1，镜像名称=%2 %3</source>
        <translation>Download image: number %1, name %2 %3</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>succeeded</translation>
    </message>
    <message>
        <source>失败.
reason: </source>
        <translation>failed.
reason: </translation>
    </message>
    <message>
        <source>USB-HID&amp;VCP模式不支持该镜像号下发！（仅支持0~149镜像号）</source>
        <translation>USB-HID and VCP mode do not support this image number! (only 0 to 149)</translation>
    </message>
    <message>
        <source>修改索引文件失败! </source>
        <translation>Changing the index file failed! </translation>
    </message>
    <message>
        <source>正在下发镜像数据, 请勿断开连接</source>
        <translation>Sending image data, do not disconnect</translation>
    </message>
    <message>
        <source>打开文件失败:</source>
        <translation>Opening the file failed:</translation>
    </message>
    <message>
        <source>远程下载器连接不可用</source>
        <translation>The remote programmer's connection is not available</translation>
    </message>
</context>
<context>
    <name>CNameValidator</name>
    <message>
        <source>特殊字符已被禁止输入</source>
        <translation>Special characters are blocked</translation>
    </message>
</context>
<context>
    <name>COfflineUploader</name>
    <message>
        <source>正在连接到服务器...</source>
        <translation>Connecting to the server...</translation>
    </message>
    <message>
        <source>正在登录...请稍等...</source>
        <translation>Logging in... please wait...</translation>
    </message>
    <message>
        <source>正在获取服务器信息...</source>
        <translation>Getting server information...</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>登录验证出现问题</source>
        <translation>Login verification problem</translation>
    </message>
    <message>
        <source>写入信息出现问题</source>
        <translation>Problem writing information</translation>
    </message>
    <message>
        <source>关闭连接...</source>
        <translation>Closing the connection...</translation>
    </message>
    <message>
        <source>连接已经关闭</source>
        <translation>Connection closed</translation>
    </message>
    <message>
        <source>远端数据更新错误：%1</source>
        <translation>Remote data update error: %1</translation>
    </message>
    <message>
        <source>远端数据更新错误</source>
        <translation>Remote data update error</translation>
    </message>
    <message>
        <source>文件上传成功</source>
        <translation>File uploaded</translation>
    </message>
    <message>
        <source>正在更新服务器文件列表...</source>
        <translation>Updating the server file list...</translation>
    </message>
    <message>
        <source>连接服务器出现错误：%1</source>
        <translation>Error connecting to the server: %1</translation>
    </message>
    <message>
        <source>连接服务器出现错误</source>
        <translation>Error connecting to the server</translation>
    </message>
    <message>
        <source>获取服务器位置错误</source>
        <translation>Getting the server location failed</translation>
    </message>
    <message>
        <source>错误, 获取服务器信息失败</source>
        <translation>Error, getting server information failed</translation>
    </message>
    <message>
        <source>获取服务器信息失败</source>
        <translation>Getting server information failed</translation>
    </message>
    <message>
        <source>连接服务器成功</source>
        <translation>Connected to the server</translation>
    </message>
    <message>
        <source>正在核验账号</source>
        <translation>Verifying the account</translation>
    </message>
    <message>
        <source>错误, ParseError</source>
        <translation>Error, ParseError</translation>
    </message>
    <message>
        <source>错误, No Contains User</source>
        <translation>Error, No Contains User</translation>
    </message>
    <message>
        <source>登陆失败-用户名或密码错误</source>
        <translation>Login failed: wrong user name or password</translation>
    </message>
    <message>
        <source>错误, 用户名或密码错误</source>
        <translation>Error, wrong user name or password</translation>
    </message>
    <message>
        <source>登录成功</source>
        <translation>Logged in</translation>
    </message>
    <message>
        <source>正在上传离线镜像...</source>
        <translation>Uploading the offline image...</translation>
    </message>
    <message>
        <source>正在上传离线镜像</source>
        <translation>Uploading the offline image</translation>
    </message>
    <message>
        <source>处理离线镜像数据失败！</source>
        <translation>Processing the offline image failed!</translation>
    </message>
    <message>
        <source>正在处理数据...</source>
        <translation>Processing...</translation>
    </message>
    <message>
        <source>正在加密数据并上传...</source>
        <translation>Encrypting and uploading...</translation>
    </message>
    <message>
        <source>上传文件数量超过限制，请先删除部分镜像</source>
        <translation>Too many uploaded files; delete some images first</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>镜像文件上传失败!:%1</source>
        <translation>Image upload failed!:%1</translation>
    </message>
    <message>
        <source>远端数据库更新失败！</source>
        <translation>Remote database update failed!</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>succeeded</translation>
    </message>
    <message>
        <source>镜像文件%1上传完成！</source>
        <translation>Image %1 uploaded!</translation>
    </message>
    <message>
        <source>错误, 获取远端信息失败</source>
        <translation>Error, getting remote information failed</translation>
    </message>
    <message>
        <source>获取远端信息失败</source>
        <translation>Getting remote information failed</translation>
    </message>
    <message>
        <source>远端信息解析出错</source>
        <translation>Remote information parse error</translation>
    </message>
</context>
<context>
    <name>CPasswordRule</name>
    <message>
        <source>当前版本只支持1~9位的用户密码设置</source>
        <translation>This version supports user passwords of 1 to 9 digits only</translation>
    </message>
</context>
<context>
    <name>CRemoteActions</name>
    <message>
        <source>关闭远程服务</source>
        <translation>Stop remote service</translation>
    </message>
    <message>
        <source>开启远程服务</source>
        <translation>Start remote service</translation>
    </message>
    <message>
        <source>开启远程MQTT服务</source>
        <translation>Start remote MQTT service</translation>
    </message>
    <message>
        <source>关闭远程MQTT服务</source>
        <translation>Stop remote MQTT service</translation>
    </message>
    <message>
        <source>开启远程NSQ服务</source>
        <translation>Start remote NSQ service</translation>
    </message>
    <message>
        <source>关闭远程NSQ服务</source>
        <translation>Stop remote NSQ service</translation>
    </message>
    <message>
        <source>远程NSQ服务已开启-%1</source>
        <translation>Remote NSQ service on - %1</translation>
    </message>
    <message>
        <source>远程MQTT服务已开启-%1</source>
        <translation>Remote MQTT service on - %1</translation>
    </message>
    <message>
        <source>远程服务已开启-%1:%2</source>
        <translation>Remote service on - %1:%2</translation>
    </message>
    <message>
        <source>远程服务已关闭</source>
        <translation>Remote service is off</translation>
    </message>
</context>
<context>
    <name>CRemoteRecordSync</name>
    <message>
        <source>下载器未选择!</source>
        <translation>No programmer selected!</translation>
    </message>
    <message>
        <source>记录文件数据量一般较大，暂不支持当前USB通信模式进行同步!</source>
        <translation>Record files are usually large; syncing over the current USB mode is not supported!</translation>
    </message>
    <message>
        <source>远程下载器暂不支持记录同步!</source>
        <translation>Record sync of a remote programmer is not supported!</translation>
    </message>
    <message>
        <source>当前烧录器无记录数据！</source>
        <translation>This programmer has no record data!</translation>
    </message>
    <message>
        <source>下载器-%1 记录正在上传</source>
        <translation>Programmer %1: its record is being uploaded</translation>
    </message>
    <message>
        <source>开始上传文件数据</source>
        <translation>Starting to upload file data</translation>
    </message>
    <message>
        <source>下载器-%1 文件上传进度: %2 %</source>
        <translation>Programmer %1 upload progress: %2 %</translation>
    </message>
    <message>
        <source>下载器-%1 文件上传进度: 100 %</source>
        <translation>Programmer %1 upload progress: 100 %</translation>
    </message>
    <message>
        <source>下载器：%1， 上传文件数据完成并释放下载器文件</source>
        <translation>Programmer %1: upload complete, programmer file released</translation>
    </message>
    <message>
        <source>下载器：%1， 上传文件数据完成但释放文件失败，请手动删除/config/%2文件</source>
        <translation>Programmer %1: upload complete but the file was not released; please delete /config/%2 by hand</translation>
    </message>
</context>
<context>
    <name>CRemoteService</name>
    <message>
        <source>远程服务启动失败</source>
        <translation>Remote service failed to start</translation>
    </message>
    <message>
        <source>远程服务启动成功</source>
        <translation>Remote service started</translation>
    </message>
    <message>
        <source>远程服务已关闭</source>
        <translation>Remote service is off</translation>
    </message>
    <message>
        <source>请正确输入UID</source>
        <translation>Please enter the UID correctly</translation>
    </message>
</context>
<context>
    <name>CRestoreRun</name>
    <message>
        <source>镜像%1重新加密失败: %2</source>
        <translation>Re-encrypting image %1 failed: %2</translation>
    </message>
</context>
<context>
    <name>CStoreTools</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>本地数据库打开失败!</source>
        <translation>Opening the local database failed!</translation>
    </message>
</context>
<context>
    <name>CUsbConsole</name>
    <message>
        <source>未启用~</source>
        <translation>Not in use~</translation>
    </message>
    <message>
        <source>达到最多支持设备数, 连接设备失败!</source>
        <translation>The maximum number of devices is reached; connection failed!</translation>
    </message>
    <message>
        <source>%1 串口打开失败</source>
        <translation>%1: cannot open the serial port</translation>
    </message>
    <message>
        <source>USB-HID下载器建立连接, 正在初始化...</source>
        <translation>USB-HID programmer connected, initialising...</translation>
    </message>
    <message>
        <source>USB-VCP下载器建立连接， 正在初始化...</source>
        <translation>USB-VCP programmer connected, initialising...</translation>
    </message>
    <message>
        <source>烧录器-%1</source>
        <translation>Programmer-%1</translation>
    </message>
    <message>
        <source>烧录器(%1*%2)</source>
        <translation>Programmer (%1*%2)</translation>
    </message>
    <message>
        <source>当前无设备连接！</source>
        <translation>No device connected!</translation>
    </message>
    <message>
        <source>仅支持镜像号范围:0~149!</source>
        <translation>Only image numbers 0~149 are supported!</translation>
    </message>
    <message>
        <source>已连接设备不存在!</source>
        <translation>No connected device!</translation>
    </message>
    <message>
        <source>切换镜像号: %1</source>
        <translation>Switch image number: %1</translation>
    </message>
    <message>
        <source>当前连接设备为空!</source>
        <translation>No device is connected!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请输入写入地址！</source>
        <translation>Please enter the write address!</translation>
    </message>
    <message>
        <source>错误！</source>
        <translation>Error!</translation>
    </message>
    <message>
        <source>文件写入失败!</source>
        <translation>Writing the file failed!</translation>
    </message>
    <message>
        <source>当前设备未选择!</source>
        <translation>No device selected!</translation>
    </message>
    <message>
        <source>设备不匹配!</source>
        <translation>Device mismatch!</translation>
    </message>
    <message>
        <source>     自动保存</source>
        <translation>     automatic save</translation>
    </message>
    <message>
        <source>     手动保存</source>
        <translation>     manual save</translation>
    </message>
    <message>
        <source>烧录器-%1(%2) 已断开, 文件%3传输中断</source>
        <translation>Programmer %1 (%2) disconnected, transfer of file %3 cut off</translation>
    </message>
    <message>
        <source>烧录器-%1 镜像属性: %2</source>
        <translation>Programmer %1 image attribute: %2</translation>
    </message>
</context>
<context>
    <name>CUsbFrame</name>
    <message>
        <source>[收到报文] </source>
        <translation>[Received frame] </translation>
    </message>
    <message>
        <source>[发送报文] </source>
        <translation>[Sent frame] </translation>
    </message>
</context>
<context>
    <name>CUsbHostHandler</name>
    <message>
        <source>%1 检测到帧CRC错误</source>
        <translation>%1 detected a frame CRC error</translation>
    </message>
    <message>
        <source>%1 收到不支持指令： 0x%2</source>
        <translation>%1 received an unsupported command: 0x%2</translation>
    </message>
    <message>
        <source>%1 收到长度错误的指令: 0x%2</source>
        <translation>%1 received command 0x%2 with a wrong length</translation>
    </message>
    <message>
        <source>%1 请求下位机文件：%2 失败</source>
        <translation>%1 request of programmer file %2 failed</translation>
    </message>
    <message>
        <source>烧录器-%1 上送%2， %3%</source>
        <translation>Programmer %1 uploads %2, %3%</translation>
    </message>
    <message>
        <source>烧录器-%1 镜像信息拉取完成</source>
        <translation>Programmer %1 image information pulled</translation>
    </message>
    <message>
        <source>烧录器-%1 配置信息拉取完成</source>
        <translation>Programmer %1 configuration pulled</translation>
    </message>
    <message>
        <source>烧录器-%1 MCU-FLASH数据拉取完成， 正在解析...</source>
        <translation>Programmer %1 MCU flash data pulled, parsing...</translation>
    </message>
    <message>
        <source>烧录器-%1 同步数据拉取完毕</source>
        <translation>Programmer %1 sync data pulled</translation>
    </message>
    <message>
        <source>下载器初始化完成，可以进行后续操作</source>
        <translation>Programmer initialised, further operations are possible</translation>
    </message>
    <message>
        <source>烧录器-%1 信号数据拉取完毕</source>
        <translation>Programmer %1 signal data pulled</translation>
    </message>
    <message>
        <source>烧录器-%1 下发文件读取失败！</source>
        <translation>Programmer %1: reading the file to send failed!</translation>
    </message>
    <message>
        <source>烧录器-%1 下发文件过大或文件名过长！</source>
        <translation>Programmer %1: the file to send is too large or its name too long!</translation>
    </message>
    <message>
        <source>烧录器-%1 正在下发固件文件数据,请勿断开连接</source>
        <translation>Programmer %1 is receiving firmware data, do not disconnect</translation>
    </message>
    <message>
        <source>烧录器-%1 正在下发镜像文件数据,请勿断开连接</source>
        <translation>Programmer %1 is receiving image data, do not disconnect</translation>
    </message>
    <message>
        <source>镜像名：%1,镜像CRC：%2</source>
        <translation>Image name: %1, image CRC: %2</translation>
    </message>
    <message>
        <source>烧录器-%1 正在下发文件数据,请勿断开连接</source>
        <translation>Programmer %1 is receiving file data, do not disconnect</translation>
    </message>
    <message>
        <source>烧录器-%1 文件传输确认</source>
        <translation>Programmer %1 file transfer confirmed</translation>
    </message>
    <message>
        <source>烧录器-%1 拒绝进行文件传输</source>
        <translation>Programmer %1 refuses the file transfer</translation>
    </message>
    <message>
        <source>烧录器-%1 请求文件帧冲突！</source>
        <translation>Programmer %1 requested file frame conflict!</translation>
    </message>
    <message>
        <source>下载器-%1 请求文件帧序号： %2 , 传输进度: %3 %</source>
        <translation>Programmer %1 requests file frame %2, progress: %3 %</translation>
    </message>
    <message>
        <source>烧录器-%1 文件帧冲突！</source>
        <translation>Programmer %1 file frame conflict!</translation>
    </message>
    <message>
        <source>镜像</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>固件</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>镜像配置</source>
        <translation>Image configuration</translation>
    </message>
    <message>
        <source>烧录器配置</source>
        <translation>Programmer configuration</translation>
    </message>
    <message>
        <source>%1数据传输校验失败</source>
        <translation>%1 data transfer verification failed</translation>
    </message>
    <message>
        <source>烧录器-%1 %2文件传输校验失败</source>
        <translation>Programmer %1 %2 file transfer verification failed</translation>
    </message>
    <message>
        <source>%1数据传输校验完成</source>
        <translation>%1 data transfer verified</translation>
    </message>
    <message>
        <source>烧录器-%1 %2数据传输校验完成</source>
        <translation>Programmer %1 %2 data transfer verified</translation>
    </message>
    <message>
        <source>烧录器-%1 正在更新镜像序列</source>
        <translation>Programmer %1 is updating the image sequence</translation>
    </message>
    <message>
        <source>烧录器-%1 正在刷新镜像</source>
        <translation>Programmer %1 is refreshing the image</translation>
    </message>
    <message>
        <source>烧录器-%1 %2更新完成</source>
        <translation>Programmer %1 %2 update complete</translation>
    </message>
    <message>
        <source>烧录器-%1 刷新镜像失败！</source>
        <translation>Programmer %1: refreshing the image failed!</translation>
    </message>
    <message>
        <source>烧录器-%1 镜像号: %2 数据传输完成！</source>
        <translation>Programmer %1 image number %2 transferred!</translation>
    </message>
    <message>
        <source>仅支持镜像号范围:0~149!</source>
        <translation>Only image numbers 0~149 are supported!</translation>
    </message>
    <message>
        <source>切换主页面</source>
        <translation>switch to the home page</translation>
    </message>
    <message>
        <source>切换烧写页面</source>
        <translation>switch to the programming page</translation>
    </message>
    <message>
        <source>切换校验页面</source>
        <translation>switch to the verify page</translation>
    </message>
    <message>
        <source>切换设置页面</source>
        <translation>switch to the settings page</translation>
    </message>
    <message>
        <source>切换帮助页面</source>
        <translation>switch to the help page</translation>
    </message>
    <message>
        <source>切换页面</source>
        <translation>switch page</translation>
    </message>
    <message>
        <source>移除文件</source>
        <translation>remove file</translation>
    </message>
    <message>
        <source>切换镜像号</source>
        <translation>switch image number</translation>
    </message>
    <message>
        <source>执行:</source>
        <translation>Execute: </translation>
    </message>
    <message>
        <source>, 成功! </source>
        <translation>, success! </translation>
    </message>
    <message>
        <source>, 失败!</source>
        <translation>, failed!</translation>
    </message>
    <message>
        <source>现在可以触发执行烧录！</source>
        <translation>programming can now be triggered!</translation>
    </message>
    <message>
        <source>烧录器-%1 %2</source>
        <translation>Programmer %1 %2</translation>
    </message>
    <message>
        <source>烧录器-%1 启动成功</source>
        <translation>Programmer %1 started</translation>
    </message>
    <message>
        <source>烧录器-%1 启动失败!</source>
        <translation>Programmer %1 start failed!</translation>
    </message>
    <message>
        <source>SWD通信失败</source>
        <translation>SWD communication failed</translation>
    </message>
    <message>
        <source>帧长度错误</source>
        <translation>Frame length error</translation>
    </message>
    <message>
        <source>目标板校验错误</source>
        <translation>Target board verify error</translation>
    </message>
    <message>
        <source>擦除目标板失败</source>
        <translation>Erasing the target board failed</translation>
    </message>
    <message>
        <source>检测到目标板或者下载器硬件短路</source>
        <translation>Short circuit detected on the target board or the programmer</translation>
    </message>
    <message>
        <source>其他错误</source>
        <translation>Other error</translation>
    </message>
    <message>
        <source>烧录器-%1 执行结果成功, 校验码为[0x%2]</source>
        <translation>Programmer %1 result: success, checksum [0x%2]</translation>
    </message>
    <message>
        <source>烧录器-%1 执行结果失败! 原因为[%2]</source>
        <translation>Programmer %1 result: failed! Reason [%2]</translation>
    </message>
    <message>
        <source>[编程特定数据] </source>
        <translation>[Programming specific data] </translation>
    </message>
    <message>
        <source>下载器-%1 读取MCU-FLASH数据失败！</source>
        <translation>Programmer %1: reading the MCU flash failed!</translation>
    </message>
    <message>
        <source>下载器-%1 读取MCU-FLASH数据成功！上位机正在拉取数据...</source>
        <translation>Programmer %1: MCU flash read! The host is pulling the data...</translation>
    </message>
    <message>
        <source>下载器执行-FLM函数，超时计数为: %1</source>
        <translation>Programmer ran the FLM function, time-out count: %1</translation>
    </message>
    <message>
        <source>烧录器-%1(%2) 当前镜像号为: %3</source>
        <translation>Programmer %1 (%2) current image number: %3</translation>
    </message>
    <message>
        <source>烧录器-%1(%2) 收到不支持的子命令: 0x%3</source>
        <translation>Programmer %1 (%2) received an unsupported sub-command: 0x%3</translation>
    </message>
    <message>
        <source>烧录器-%1 上送%2失败: 文件帧%3有误</source>
        <translation>Programmer %1 upload of %2 failed: file frame %3 is wrong</translation>
    </message>
    <message>
        <source>烧录器-%1 本地配置文件更新失败</source>
        <translation>Programmer %1: updating the local configuration file failed</translation>
    </message>
</context>
<context>
    <name>CUsbMergeImage</name>
    <message>
        <source>文件读取失败!</source>
        <translation>File read failed!</translation>
    </message>
    <message>
        <source>文件读取失败， 长度错误!</source>
        <translation>File read failed, length error!</translation>
    </message>
    <message>
        <source>读取文件失败！实际数据长度与声明数据长度不匹配！请检查</source>
        <translation>File read failed! The actual data length differs from the declared length! Please check</translation>
    </message>
    <message>
        <source>当前程序数据的地址与长度存在重叠，会覆盖数据，请确认并修改！</source>
        <translation>Addresses and lengths of the program data overlap and would overwrite data, please check and correct them!</translation>
    </message>
    <message>
        <source>当前程序数据地址超出范围，请确认并修改！</source>
        <translation>The program data addresses are out of range, please check and correct them!</translation>
    </message>
    <message>
        <source>当前程序数据为空，请重新加载确认！</source>
        <translation>The program data are empty, please load them again!</translation>
    </message>
</context>
<context>
    <name>CUsbProgManager</name>
    <message>
        <source>USB-HID下载器建立连接, 正在初始化...</source>
        <translation>USB-HID programmer connected, initialising...</translation>
    </message>
    <message>
        <source>检测到HID下载器已断开连接: </source>
        <translation>HID programmer disconnected: </translation>
    </message>
    <message>
        <source>USB-VCP下载器建立连接， 正在初始化...</source>
        <translation>USB-VCP programmer connected, initialising...</translation>
    </message>
    <message>
        <source>检测到VCP下载器已断开连接: </source>
        <translation>VCP programmer disconnected: </translation>
    </message>
</context>
<context>
    <name>CUsbPull</name>
    <message>
        <source>设备数据</source>
        <translation>device data</translation>
    </message>
    <message>
        <source>镜像数据</source>
        <translation>image data</translation>
    </message>
    <message>
        <source>参数数据</source>
        <translation>parameter data</translation>
    </message>
    <message>
        <source>信号数据</source>
        <translation>signal data</translation>
    </message>
    <message>
        <source>芯片记录</source>
        <translation>chip record</translation>
    </message>
    <message>
        <source>同步数据</source>
        <translation>sync data</translation>
    </message>
</context>
<context>
    <name>CUsbSerialNo</name>
    <message>
        <source>SN数据4字节对齐: 原长度%1字节, 补充%2字节0xFF, 对齐后长度%3字节</source>
        <translation>SN data aligned to 4 bytes: length %1 bytes, %2 bytes of 0xFF added, length now %3 bytes</translation>
    </message>
    <message>
        <source>烧录器-%1 检查SN写入，SN长度: %2 字节(已4字节对齐)</source>
        <translation>Programmer %1 checks the SN write, SN length: %2 bytes (aligned to 4 bytes)</translation>
    </message>
    <message>
        <source>SN数据内容: %1</source>
        <translation>SN data: %1</translation>
    </message>
    <message>
        <source>烧录器-%1 下发SN数据进行写入, 长度: %2 字节</source>
        <translation>Programmer %1: sending SN data to write, length: %2 bytes</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>QEL下载器服务端</source>
        <translation>QEL Programmer Server</translation>
    </message>
    <message>
        <source>下载器列表</source>
        <translation>Programmer list</translation>
    </message>
    <message>
        <source>日志信息</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>镜像文件配置</source>
        <translation>Image file configuration</translation>
    </message>
    <message>
        <source>添加条目</source>
        <translation>Add entry</translation>
    </message>
    <message>
        <source>删除条目</source>
        <translation>Delete entry</translation>
    </message>
    <message>
        <source>删除全部条目</source>
        <translation>Delete all entries</translation>
    </message>
    <message>
        <source>加载当前镜像号的上次配置</source>
        <translation>Load the last configuration of the current image number</translation>
    </message>
    <message>
        <source>使用镜像号</source>
        <translation>Image number</translation>
    </message>
    <message>
        <source>使用镜像名</source>
        <translation>Image name</translation>
    </message>
    <message>
        <source>加密镜像</source>
        <translation>Encrypted image</translation>
    </message>
    <message>
        <source>MCU类型</source>
        <translation>MCU type</translation>
    </message>
    <message>
        <source>下载次数</source>
        <translation>Download count</translation>
    </message>
    <message>
        <source>0表示不限制次数</source>
        <translation>0 means no limit</translation>
    </message>
    <message>
        <source>镜像号范围[0,49]支持下载次数限制，后续的镜像号不限制下载次数。</source>
        <translation>Image numbers 0 to 49 support a download limit; later numbers are not limited.</translation>
    </message>
    <message>
        <source>程序版本</source>
        <translation>Program version</translation>
    </message>
    <message>
        <source>程序镜像CRC</source>
        <translation>Program image CRC</translation>
    </message>
    <message>
        <source>管理镜像信息</source>
        <translation>Manage image information</translation>
    </message>
    <message>
        <source>下发镜像文件</source>
        <translation>Download image file</translation>
    </message>
    <message>
        <source>下载器配置</source>
        <translation>Programmer configuration</translation>
    </message>
    <message>
        <source>查看配置信息</source>
        <translation>View configuration</translation>
    </message>
    <message>
        <source>下发配置文件</source>
        <translation>Send configuration file</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>远程服务</source>
        <translation>Remote services</translation>
    </message>
    <message>
        <source>本地功能</source>
        <translation>Local functions</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>检查更新</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Tool bar</translation>
    </message>
    <message>
        <source>更换主题</source>
        <translation>Change theme</translation>
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
        <source>TCP远程服务</source>
        <translation>TCP remote service</translation>
    </message>
    <message>
        <source>开启TCP远程服务</source>
        <translation>Start TCP remote service</translation>
    </message>
    <message>
        <source>清空日志</source>
        <translation>Clear log</translation>
    </message>
    <message>
        <source>下发固件程序</source>
        <translation>Send firmware program</translation>
    </message>
    <message>
        <source>导出镜像</source>
        <translation>Export image</translation>
    </message>
    <message>
        <source>上位机更新</source>
        <translation>Host software update</translation>
    </message>
    <message>
        <source>下载器固件更新</source>
        <translation>Programmer firmware update</translation>
    </message>
    <message>
        <source>开启USB-HID模式</source>
        <translation>Enable USB-HID mode</translation>
    </message>
    <message>
        <source>开启NSQ远程服务</source>
        <translation>Start NSQ remote service</translation>
    </message>
    <message>
        <source>MQTT远程服务</source>
        <translation>MQTT remote service</translation>
    </message>
    <message>
        <source>开启MQTT远程服务</source>
        <translation>Start MQTT remote service</translation>
    </message>
    <message>
        <source>上传离线镜像</source>
        <translation>Upload offline image</translation>
    </message>
    <message>
        <source>上传离线镜像至云空间</source>
        <translation>Upload an offline image to cloud space</translation>
    </message>
    <message>
        <source>设置用户密码</source>
        <translation>Set user password</translation>
    </message>
    <message>
        <source>给下载器设置用户登录密码</source>
        <translation>Set a user login password for the programmer</translation>
    </message>
    <message>
        <source>保存日志</source>
        <translation>Save log</translation>
    </message>
    <message>
        <source>保存日志为文件</source>
        <translation>Save the log as a file</translation>
    </message>
    <message>
        <source>配置烧录器信号</source>
        <translation>Configure programmer signals</translation>
    </message>
    <message>
        <source>自定义烧录器机台信号</source>
        <translation>Customise the programmer's machine signals</translation>
    </message>
    <message>
        <source>出厂测试</source>
        <translation>Factory test</translation>
    </message>
    <message>
        <source>出厂测试-数据库入库查询</source>
        <translation>Factory test: database entry and query</translation>
    </message>
    <message>
        <source>上位机在线控制</source>
        <translation>Host online control</translation>
    </message>
    <message>
        <source>备份/恢复-下载器镜像</source>
        <translation>Back up/restore programmer images</translation>
    </message>
    <message>
        <source>可以将下载器当前的镜像配置备份到本地，方便随时恢复</source>
        <translation>Backs up the programmer's current image configuration locally so it can be restored at any time</translation>
    </message>
    <message>
        <source>返修记录</source>
        <translation>Repair records</translation>
    </message>
    <message>
        <source>售后返工-维修记录与查询</source>
        <translation>After-sales rework: repair records and queries</translation>
    </message>
    <message>
        <source>烧录器记录同步</source>
        <translation>Programmer record sync</translation>
    </message>
    <message>
        <source>数据同步-MCU烧写记录上云</source>
        <translation>Data sync: MCU programming records to the cloud</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>固件版本</source>
        <translation>Firmware version</translation>
    </message>
    <message>
        <source>硬件版本</source>
        <translation>Hardware version</translation>
    </message>
    <message>
        <source>开启远程服务</source>
        <translation>Start remote service</translation>
    </message>
    <message>
        <source>远程服务已关闭</source>
        <translation>Remote service is off</translation>
    </message>
    <message>
        <source>断开远程下载器 %1:%2</source>
        <translation>Remote programmer %1:%2 disconnected</translation>
    </message>
    <message>
        <source>固件下载成功:</source>
        <translation>Firmware downloaded:</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>保存日志失败</source>
        <translation>Saving the log failed</translation>
    </message>
    <message>
        <source>下载器未选择!</source>
        <translation>No programmer selected!</translation>
    </message>
    <message>
        <source>本地下载器刷新失败, 需开启自动扫描磁盘</source>
        <translation>Refreshing local programmers failed; automatic disk scanning must be on</translation>
    </message>
    <message>
        <source>本地下载器已刷新</source>
        <translation>Local programmers refreshed</translation>
    </message>
    <message>
        <source>复制序列号</source>
        <translation>Copy serial number</translation>
    </message>
    <message>
        <source>弹出设备</source>
        <translation>Eject device</translation>
    </message>
    <message>
        <source>序列号已复制至剪切板！</source>
        <translation>Serial number copied to the clipboard!</translation>
    </message>
    <message>
        <source>即将弹出本地下载器 %1 (%2)，请确认没有正在进行的文件操作。是否继续?</source>
        <translation>About to eject local programmer %1 (%2); make sure no file operation is running. Continue?</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>设备监测接口未初始化</source>
        <translation>Device monitoring interface not initialised</translation>
    </message>
    <message>
        <source>弹出设备失败</source>
        <translation>Ejecting the device failed</translation>
    </message>
    <message>
        <source>本地下载器弹出失败: %1</source>
        <translation>Ejecting local programmer failed: %1</translation>
    </message>
    <message>
        <source>本地下载器配置读取失败!</source>
        <translation>Reading the local programmer's configuration failed!</translation>
    </message>
    <message>
        <source>检测到设备接入 </source>
        <translation>A device was attached </translation>
    </message>
    <message>
        <source>检测到设备退出</source>
        <translation>A device was removed</translation>
    </message>
    <message>
        <source>下载器固件检查更新...</source>
        <translation>Checking programmer firmware for updates...</translation>
    </message>
    <message>
        <source>下发镜像将修改下载器的参数配置，是否继续?</source>
        <translation>Downloading changes the programmer's parameter configuration. Continue?</translation>
    </message>
    <message>
        <source>配置文件保存失败!</source>
        <translation>Saving the configuration file failed!</translation>
    </message>
    <message>
        <source>本地配置下载%1</source>
        <translation>Local configuration download %1</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>succeeded</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>%1：当前版本暂不支持此功能</source>
        <translation>%1: not available in this version</translation>
    </message>
    <message>
        <source>仅支持本地下载器</source>
        <translation>Only local programmers are supported</translation>
    </message>
    <message>
        <source>取消更新密码</source>
        <translation>Password update cancelled</translation>
    </message>
    <message>
        <source>更新密码成功，烧录器重新上电以生效</source>
        <translation>Password updated; power the programmer off and on for it to take effect</translation>
    </message>
    <message>
        <source>更新密码失败</source>
        <translation>Updating the password failed</translation>
    </message>
    <message>
        <source>内部测试模式已开启</source>
        <translation>Internal test mode on</translation>
    </message>
    <message>
        <source>内部测试模式已关闭</source>
        <translation>Internal test mode off</translation>
    </message>
    <message>
        <source>确认退出程序?</source>
        <translation>Really exit the program?</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>下发镜像将修改下载器的镜像配置，是否继续?</source>
        <translation>Downloading the image changes the programmer's image configuration. Continue?</translation>
    </message>
    <message>
        <source>请输入或者确认下载器ID以进行导出加密镜像</source>
        <translation>Enter or confirm the programmer ID to export an encrypted image</translation>
    </message>
    <message>
        <source>ID输入错误!</source>
        <translation>Wrong ID!</translation>
    </message>
    <message>
        <source>选择镜像文件的导出位置</source>
        <translation>Choose where to export the image file</translation>
    </message>
    <message>
        <source>导出镜像成功!</source>
        <translation>Image exported!</translation>
    </message>
    <message>
        <source>导出镜像失败 </source>
        <translation>Exporting the image failed </translation>
    </message>
    <message>
        <source>USB下载器未连接: %1</source>
        <translation>USB programmer not connected: %1</translation>
    </message>
    <message>
        <source>保存日志完成: %1</source>
        <translation>Log saved: %1</translation>
    </message>
    <message>
        <source>下载器已移除: %1</source>
        <translation>Programmer removed: %1</translation>
    </message>
    <message>
        <source>下载器已接入: %1</source>
        <translation>Programmer attached: %1</translation>
    </message>
    <message>
        <source>删除全部程序条目，是否继续?</source>
        <translation>Delete all program entries. Continue?</translation>
    </message>
    <message>
        <source>下发配置文件: %1</source>
        <translation>Sending the configuration file to %1</translation>
    </message>
</context>
<context>
    <name>MyFreshCheck</name>
    <message>
        <source>
version: %1
change: %2</source>
        <translation>
version: %1
change: %2</translation>
    </message>
    <message>
        <source>在线更新</source>
        <translation>Online update</translation>
    </message>
    <message>
        <source>当前已使用最新版本：%1</source>
        <translation>The newest version %1 is already in use</translation>
    </message>
    <message>
        <source>发现新版本 %1 (%2)，&lt;a href="%3"&gt;前往下载页面&lt;/a&gt;</source>
        <translation>Version %1 (%2) is available. &lt;a href="%3"&gt;Go to the download page&lt;/a&gt;</translation>
    </message>
    <message>
        <source>检查更新失败</source>
        <translation>Update check failed</translation>
    </message>
    <message>
        <source>固件更新成功[%1]</source>
        <translation>Firmware updated [%1]</translation>
    </message>
    <message>
        <source>上位机更新成功[%1]</source>
        <translation>Host software updated [%1]</translation>
    </message>
    <message>
        <source>请退出当前进程，重新启动最新版本:</source>
        <translation>Please exit this process and start the newest version: </translation>
    </message>
</context>
<context>
    <name>backuploaddlg</name>
    <message>
        <source>备份/恢复下载器镜像</source>
        <translation>Back up / restore programmer images</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>待连接...</source>
        <translation>Waiting for connection...</translation>
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
        <source>记住账号密码</source>
        <translation>Remember account and password</translation>
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
        <source>备份镜像包</source>
        <translation>Back up package</translation>
    </message>
    <message>
        <source>从镜像包恢复</source>
        <translation>Restore from package</translation>
    </message>
    <message>
        <source>查看记录</source>
        <translation>View records</translation>
    </message>
    <message>
        <source>注销登录</source>
        <translation>Log out</translation>
    </message>
    <message>
        <source>操作类型</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>镜像包名称</source>
        <translation>Package name</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>请输入账号密码</source>
        <translation>Enter account and password</translation>
    </message>
    <message>
        <source>登录验证失败</source>
        <translation>Login failed</translation>
    </message>
    <message>
        <source>登录验证成功</source>
        <translation>Login verified</translation>
    </message>
    <message>
        <source>验证服务连接断开</source>
        <translation>Verification service disconnected</translation>
    </message>
    <message>
        <source>错误！</source>
        <translation>Error!</translation>
    </message>
    <message>
        <source>当前网络连接已断开！</source>
        <translation>The network connection is down!</translation>
    </message>
    <message>
        <source>备份</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>远程下载器暂不支持！</source>
        <translation>Remote programmers are not supported yet!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>正在传输镜像, 请稍候</source>
        <translation>Images are being transferred, please wait</translation>
    </message>
    <message>
        <source>下载器未选择, 备份下载器失败!</source>
        <translation>No programmer selected, backup failed!</translation>
    </message>
    <message>
        <source>正在备份下载器镜像: %1</source>
        <translation>Backing up the images of programmer %1</translation>
    </message>
    <message>
        <source>下载器镜像已备份完成!</source>
        <translation>Programmer images backed up!</translation>
    </message>
    <message>
        <source>成功！</source>
        <translation>Success!</translation>
    </message>
    <message>
        <source>选择镜像包文件</source>
        <translation>Choose package file</translation>
    </message>
    <message>
        <source>已读取加载完成, 是否恢复到当前选择的下载器?</source>
        <translation>Loaded. Restore to the selected programmer?</translation>
    </message>
    <message>
        <source>下载器未选择, 恢复下载器失败!</source>
        <translation>No programmer selected, restore failed!</translation>
    </message>
    <message>
        <source>文件写入失败！</source>
        <translation>Writing the file failed!</translation>
    </message>
    <message>
        <source>正在恢复备份文件，总进度:</source>
        <translation>Restoring backup files, total progress:</translation>
    </message>
    <message>
        <source>恢复已取消</source>
        <translation>Restore cancelled</translation>
    </message>
    <message>
        <source>正在恢复镜像包 %1 到下载器 %2</source>
        <translation>Restoring package %1 to programmer %2</translation>
    </message>
    <message>
        <source>%1 传输失败, 恢复已停止</source>
        <translation>%1 transfer failed, restore stopped</translation>
    </message>
    <message>
        <source>序列文件传输成功, </source>
        <translation>Index file transferred, </translation>
    </message>
    <message>
        <source>镜像文件传输成功, </source>
        <translation>Image file transferred, </translation>
    </message>
    <message>
        <source>总进度:</source>
        <translation>total progress:</translation>
    </message>
    <message>
        <source>镜像包所有镜像已恢复完成！</source>
        <translation>All images of the package restored!</translation>
    </message>
</context>
<context>
    <name>databasedlg</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>读取数据库数据失败！</source>
        <translation>Reading the database data failed!</translation>
    </message>
    <message>
        <source>错误!</source>
        <translation>Error!</translation>
    </message>
    <message>
        <source>拉取服务器数据库超时</source>
        <translation>Pulling the server database timed out</translation>
    </message>
    <message>
        <source>远端数据库更新失败!
请检查网络连接或者联系相关人员!</source>
        <translation>Remote database update failed!
Check the network connection or contact the people in charge!</translation>
    </message>
    <message>
        <source>请稍候，正在拉取服务器数据库...</source>
        <translation>Please wait, pulling the server database...</translation>
    </message>
</context>
<context>
    <name>dbprocessdlg</name>
    <message>
        <source>数据库查找</source>
        <translation>Database search</translation>
    </message>
    <message>
        <source>按ID查找</source>
        <translation>Search by ID</translation>
    </message>
    <message>
        <source>按条件查找</source>
        <translation>Search by condition</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>下载器ID</source>
        <translation>Programmer ID</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Test result</translation>
    </message>
    <message>
        <source>失败原因</source>
        <translation>Failure reason</translation>
    </message>
    <message>
        <source>数据库追加/更新</source>
        <translation>Database append/update</translation>
    </message>
    <message>
        <source>追加/更新</source>
        <translation>Append/update</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>编程器版本</source>
        <translation>Programmer version</translation>
    </message>
    <message>
        <source>硬件版本</source>
        <translation>Hardware version</translation>
    </message>
    <message>
        <source>问题摘要</source>
        <translation>Problem abstract</translation>
    </message>
    <message>
        <source>来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>检测人员</source>
        <translation>Checked by</translation>
    </message>
    <message>
        <source>原因分析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>维修内容</source>
        <translation>Repair done</translation>
    </message>
    <message>
        <source>维修结果</source>
        <translation>Repair result</translation>
    </message>
</context>
<context>
    <name>exfactorydlg</name>
    <message>
        <source>出厂测试</source>
        <translation>Factory test</translation>
    </message>
    <message>
        <source>指初测未过，修复处理后入库的</source>
        <translation>Failed the first test, stored after repair</translation>
    </message>
    <message>
        <source>自动入库</source>
        <translation>Store automatically</translation>
    </message>
    <message>
        <source>入库</source>
        <translation>Store</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>下载器</source>
        <translation>Programmer</translation>
    </message>
    <message>
        <source>下载器ID</source>
        <translation>Programmer ID</translation>
    </message>
    <message>
        <source>编程器版本</source>
        <translation>Programmer version</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Test result</translation>
    </message>
    <message>
        <source>失败原因</source>
        <translation>Failure reason</translation>
    </message>
    <message>
        <source>数据库数量：</source>
        <translation>Records:</translation>
    </message>
    <message>
        <source>失败数量：</source>
        <translation>Failures:</translation>
    </message>
    <message>
        <source>二测通过数量：</source>
        <translation>Passed at second test:</translation>
    </message>
    <message>
        <source>通过率(一测)：</source>
        <translation>Pass rate (first test):</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>本地数据库更新失败!</source>
        <translation>Updating the local database failed!</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>数据库未找到所需数据</source>
        <translation>The data was not found in the database</translation>
    </message>
    <message>
        <source>已找到</source>
        <translation>Found</translation>
    </message>
    <message>
        <source>数据行数: </source>
        <translation>Row: </translation>
    </message>
    <message>
        <source>存在符合条件数据</source>
        <translation>Matching data found</translation>
    </message>
    <message>
        <source>找到%1条数据, 分别在行: </source>
        <translation>Found %1 rows, at rows: </translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>编程器数据已入库: %1</source>
        <translation>Programmer data stored: %1</translation>
    </message>
</context>
<context>
    <name>passworddlg</name>
    <message>
        <source>设置烧录器用户密码</source>
        <translation>Set the programmer's user password</translation>
    </message>
    <message>
        <source>输入用于解锁烧录器使用的密码：</source>
        <translation>Enter the password that unlocks the programmer:</translation>
    </message>
    <message>
        <source>支持1~9位数字</source>
        <translation>1 to 9 digits</translation>
    </message>
    <message>
        <source>Tips:取消密码可以更新设置为0</source>
        <translation>Tip: set it to 0 to remove the password</translation>
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
</context>
<context>
    <name>remoteServer</name>
    <message>
        <source>云服务器连接中, 请求过多, 未发送: %1</source>
        <translation>Connecting to the cloud server, too many requests waiting, not sent: %1</translation>
    </message>
    <message>
        <source>无请求等待的应答, 已忽略: %1</source>
        <translation>An answer no request waits for, ignored: %1</translation>
    </message>
    <message>
        <source>云服务器连接失败, 请求未发送: %1</source>
        <translation>Connecting to the cloud server failed, request not sent: %1</translation>
    </message>
    <message>
        <source>云服务器连接已断开</source>
        <translation>The cloud server connection was lost</translation>
    </message>
    <message>
        <source>云服务器连接失败</source>
        <translation>Connecting to the cloud server failed</translation>
    </message>
    <message>
        <source>文件传输失败</source>
        <translation>File transfer failed</translation>
    </message>
    <message>
        <source>文件传输完成 :</source>
        <translation>File transfer complete: </translation>
    </message>
</context>
<context>
    <name>repairdlg</name>
    <message>
        <source>返修记录</source>
        <translation>Repair records</translation>
    </message>
    <message>
        <source>追加记录</source>
        <translation>Append record</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>参数缺省！</source>
        <translation>Missing fields!</translation>
    </message>
    <message>
        <source>序列号、问题摘要、来源、和检测人员不可少</source>
        <translation>Serial number, problem abstract, source and checking person must be given</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>数据已入库: %1</source>
        <translation>Data stored: %1</translation>
    </message>
</context>
<context>
    <name>serverdlg</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>TCP服务器参数设置</source>
        <translation>TCP server settings</translation>
    </message>
    <message>
        <source>TCP服务器参数</source>
        <translation>TCP server parameters</translation>
    </message>
    <message>
        <source>监听IP地址：</source>
        <translation>Listen address:</translation>
    </message>
    <message>
        <source>监听端口号：</source>
        <translation>Listen port:</translation>
    </message>
</context>
<context>
    <name>servertopicdlg</name>
    <message>
        <source>云服务器连接设置</source>
        <translation>Cloud server connection settings</translation>
    </message>
    <message>
        <source>UID:</source>
        <translation>UID:</translation>
    </message>
</context>
<context>
    <name>uploadercfgdlg</name>
    <message>
        <source>离线镜像分发参数</source>
        <translation>Offline image sharing parameters</translation>
    </message>
    <message>
        <source>限制时限</source>
        <translation>Limit the period</translation>
    </message>
    <message>
        <source>365天</source>
        <translation>365 days</translation>
    </message>
    <message>
        <source>90天</source>
        <translation>90 days</translation>
    </message>
    <message>
        <source>30天</source>
        <translation>30 days</translation>
    </message>
    <message>
        <source>10天</source>
        <translation>10 days</translation>
    </message>
    <message>
        <source>3天</source>
        <translation>3 days</translation>
    </message>
    <message>
        <source>1天</source>
        <translation>1 day</translation>
    </message>
    <message>
        <source>限制次数</source>
        <translation>Limit the count</translation>
    </message>
    <message>
        <source>往后期限：</source>
        <translation>Period from now:</translation>
    </message>
    <message>
        <source>设置次数：</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>uploaderlogindlg</name>
    <message>
        <source>无限制</source>
        <translation>Unlimited</translation>
    </message>
    <message>
        <source>镜像名称:%1
上传时间:%2
文件大小(字节):%3
历史获取次数:%4
已经获取/最大获取数:%5/%6
截止获取时间:%7</source>
        <translation>Image name: %1
Uploaded: %2
File size (bytes): %3
Fetched in total: %4
Fetched/maximum: %5/%6
Fetch deadline: %7</translation>
    </message>
    <message>
        <source>%1天内有效    </source>
        <translation>Valid for %1 days    </translation>
    </message>
    <message>
        <source>最大可获取%1次</source>
        <translation>At most %1 fetches</translation>
    </message>
    <message>
        <source>服务器无应答: %1</source>
        <translation>No answer from the server: %1</translation>
    </message>
    <message>
        <source>服务器无应答</source>
        <translation>No answer from the server</translation>
    </message>
    <message>
        <source>记住账号密码</source>
        <translation>Remember account and password</translation>
    </message>
    <message>
        <source>我已确认并接受</source>
        <translation>I have read and accept</translation>
    </message>
    <message>
        <source>qel720A上位机软件免责声明</source>
        <translation>qel720A host software disclaimer</translation>
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
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>镜像名称</source>
        <translation>Image name</translation>
    </message>
    <message>
        <source>上传时间</source>
        <translation>Upload time</translation>
    </message>
    <message>
        <source>文件大小(字节)</source>
        <translation>File size (bytes)</translation>
    </message>
    <message>
        <source>注销登录</source>
        <translation>Log out</translation>
    </message>
    <message>
        <source>上传镜像</source>
        <translation>Upload image</translation>
    </message>
    <message>
        <source>上传主页镜像</source>
        <translation>Upload the home image</translation>
    </message>
    <message>
        <source>分发镜像</source>
        <translation>Share image</translation>
    </message>
    <message>
        <source>清除镜像</source>
        <translation>Clear image</translation>
    </message>
    <message>
        <source>清除全部</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>镜像信息</source>
        <translation>Image information</translation>
    </message>
    <message>
        <source>上传离线镜像功能为用户委托我司完成。 
我司仅完成委托内容的暂存与传输用户程序镜像的需求。没有其他的任何义务。
若日后出现知识产权纠纷，数据遗失等问题我司不承担任何责任。
您确认无误需要使用本功能，即视为认同以上内容。</source>
        <translation>The offline image upload is done by us on the user's behalf. 
We only store and transfer the user's program images as entrusted, with no other obligation.
We take no responsibility for intellectual property disputes, data loss or similar problems.
Using this function means that you agree to the above.</translation>
    </message>
    <message>
        <source>上传离线镜像</source>
        <translation>Upload offline image</translation>
    </message>
    <message>
        <source>管理用户离线镜像 %1 / %2</source>
        <translation>Managing the offline images of %1 / %2</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>使用本功能需要接收qel720A上位机软件免责声明</source>
        <translation>This function needs the qel720A host software disclaimer to be accepted</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>用户名密码不能为空</source>
        <translation>User name and password must not be empty</translation>
    </message>
    <message>
        <source>正在检查登录...</source>
        <translation>Checking login...</translation>
    </message>
    <message>
        <source>正在检查登录</source>
        <translation>Checking login</translation>
    </message>
    <message>
        <source>登陆失败-用户名或密码错误</source>
        <translation>Login failed: wrong user name or password</translation>
    </message>
    <message>
        <source>错误, 用户名或密码错误</source>
        <translation>Error, wrong user name or password</translation>
    </message>
    <message>
        <source>登录成功</source>
        <translation>Logged in</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>succeeded</translation>
    </message>
    <message>
        <source>登录成功， 上次登录时间为: %1</source>
        <translation>Logged in; last login: %1</translation>
    </message>
    <message>
        <source>正在获取数据信息...</source>
        <translation>Fetching data...</translation>
    </message>
    <message>
        <source>镜像未选择!</source>
        <translation>No image selected!</translation>
    </message>
    <message>
        <source>确定清除镜像%1?</source>
        <translation>Really clear image %1?</translation>
    </message>
    <message>
        <source>确定清除全部镜像?</source>
        <translation>Really clear all images?</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>删除镜像数据失败</source>
        <translation>Deleting the image failed</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>删除所有镜像数据成功</source>
        <translation>All images deleted</translation>
    </message>
    <message>
        <source>删除镜像数据：%1，成功</source>
        <translation>Image deleted: %1</translation>
    </message>
    <message>
        <source>更多信息</source>
        <translation>More information</translation>
    </message>
    <message>
        <source>请注意</source>
        <translation>Please note</translation>
    </message>
    <message>
        <source>需要有效设置获取限制，在上传时请配置为加密镜像
如已配置，请忽略</source>
        <translation>Fetch limits only work for encrypted images; configure the image as encrypted when uploading
Ignore this if it is already so configured</translation>
    </message>
    <message>
        <source>正在向服务器请求分发离线镜像...</source>
        <translation>Asking the server to share the offline image...</translation>
    </message>
    <message>
        <source>申请分发镜像失败</source>
        <translation>Share request failed</translation>
    </message>
    <message>
        <source>申请分发镜像成功
</source>
        <translation>Share request accepted
</translation>
    </message>
    <message>
        <source>已设置到剪贴板, 粘贴以分发程序镜像给客户端。 %1</source>
        <translation>Copied to the clipboard; paste it to hand the image to clients. %1</translation>
    </message>
</context>
<context>
    <name>usbcontroldlg</name>
    <message>
        <source>QEL烧录器-USB多路在线控制</source>
        <translation>QEL programmer - USB multi-channel online control</translation>
    </message>
    <message>
        <source>触发执行[ 空格 ]</source>
        <translation>Trigger [ Space ]</translation>
    </message>
    <message>
        <source>切换界面[ F6 ]</source>
        <translation>Switch page [ F6 ]</translation>
    </message>
    <message>
        <source>切换镜像[ F7 ]</source>
        <translation>Switch image [ F7 ]</translation>
    </message>
    <message>
        <source>读取镜像号</source>
        <translation>Read image number</translation>
    </message>
    <message>
        <source>计数查询</source>
        <translation>Count query</translation>
    </message>
    <message>
        <source>下发主页镜像[F8]</source>
        <translation>Send home image [F8]</translation>
    </message>
    <message>
        <source>下发主页配置[F9]</source>
        <translation>Send home configuration [F9]</translation>
    </message>
    <message>
        <source>下发合并镜像[F5]</source>
        <translation>Send merged image [F5]</translation>
    </message>
    <message>
        <source>编辑BIN2参数</source>
        <translation>Edit BIN2 parameters</translation>
    </message>
    <message>
        <source>保存信息</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>指定镜像号</source>
        <translation>Image number</translation>
    </message>
    <message>
        <source>镜像号范围:0~149</source>
        <translation>Image numbers: 0~149</translation>
    </message>
    <message>
        <source>指定界面</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>主页</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>烧写页面</source>
        <translation>Programming page</translation>
    </message>
    <message>
        <source>校验页面</source>
        <translation>Verify page</translation>
    </message>
    <message>
        <source>设置页面</source>
        <translation>Settings page</translation>
    </message>
    <message>
        <source>帮助页面</source>
        <translation>Help page</translation>
    </message>
    <message>
        <source>清空日志</source>
        <translation>Clear log</translation>
    </message>
    <message>
        <source>总计数：</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>成功计数：</source>
        <translation>Passed:</translation>
    </message>
    <message>
        <source>失败计数：</source>
        <translation>Failed:</translation>
    </message>
    <message>
        <source>状态指示</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>定制版本</source>
        <translation>Custom version</translation>
    </message>
    <message>
        <source>显示日志</source>
        <translation>Show log</translation>
    </message>
    <message>
        <source>显示报文</source>
        <translation>Show frames</translation>
    </message>
    <message>
        <source>指定镜像号下载</source>
        <translation>Download with the image number</translation>
    </message>
    <message>
        <source>写入地址(0x)</source>
        <translation>Write address (0x)</translation>
    </message>
    <message>
        <source>写入序列流水号：关</source>
        <translation>Write serial number: off</translation>
    </message>
    <message>
        <source>压力测试次数</source>
        <translation>Stress-test count</translation>
    </message>
    <message>
        <source>压力测试：关</source>
        <translation>Stress test: off</translation>
    </message>
    <message>
        <source>BIN 1:</source>
        <translation>BIN 1:</translation>
    </message>
    <message>
        <source>加载BIN1</source>
        <translation>Load BIN1</translation>
    </message>
    <message>
        <source>BIN 2:</source>
        <translation>BIN 2:</translation>
    </message>
    <message>
        <source>加载BIN2</source>
        <translation>Load BIN2</translation>
    </message>
    <message>
        <source>BIN 3:</source>
        <translation>BIN 3:</translation>
    </message>
    <message>
        <source>加载BIN3</source>
        <translation>Load BIN3</translation>
    </message>
    <message>
        <source>勾选设备将执行上位机指令，默认勾选</source>
        <translation>Ticked programmers execute the host's commands (ticked by default)</translation>
    </message>
    <message>
        <source>写入序列流水号：开</source>
        <translation>Write serial number: on</translation>
    </message>
    <message>
        <source>压力测试：开</source>
        <translation>Stress test: on</translation>
    </message>
    <message>
        <source>保存日志成功</source>
        <translation>Log saved</translation>
    </message>
    <message>
        <source>保存日志失败</source>
        <translation>Saving the log failed</translation>
    </message>
    <message>
        <source>选择文件</source>
        <translation>Choose file</translation>
    </message>
    <message>
        <source>%1：当前版本暂不支持此功能</source>
        <translation>%1: not available in this version</translation>
    </message>
</context>
</TS>