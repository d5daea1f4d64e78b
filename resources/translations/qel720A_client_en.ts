<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US">
<context>
    <name>CClientHost</name>
    <message>
        <source>接收到镜像文件</source>
        <translation>Image file received</translation>
    </message>
    <message>
        <source>未知文件类型</source>
        <translation>Unknown file type</translation>
    </message>
</context>
<context>
    <name>CImageFile</name>
    <message>
        <source>请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！</source>
        <translation>Check that this is the right programmer! This is an encrypted image and its check code does not match!</translation>
    </message>
</context>
<context>
    <name>CLocalProger</name>
    <message>
        <source>未检测到下载器!</source>
        <translation>No programmer detected!</translation>
    </message>
    <message>
        <source>镜像名称不在下载器镜像列表中: %1</source>
        <translation>The image name is not in the programmer's image list: %1</translation>
    </message>
    <message>
        <source>镜像名称不合法: %1</source>
        <translation>Invalid image name: %1</translation>
    </message>
    <message>
        <source>已选本地镜像不存在!</source>
        <translation>The selected local image does not exist!</translation>
    </message>
    <message>
        <source>下载器尚未完成初始化, 请稍后</source>
        <translation>The programmer has not finished initialising; please wait</translation>
    </message>
    <message>
        <source>USB-HID&amp;VCP模式不支持该镜像号下发！（仅支持0~149镜像号）</source>
        <translation>USB-HID and VCP mode do not support this image number! (only 0 to 149)</translation>
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
    <name>COfflineFetch</name>
    <message>
        <source>离线镜像码长度出错</source>
        <translation>Offline image code length error</translation>
    </message>
    <message>
        <source>离线镜像解析出错</source>
        <translation>Offline image code parse error</translation>
    </message>
    <message>
        <source>文件不存在或者不可读</source>
        <translation>The file does not exist or cannot be read</translation>
    </message>
    <message>
        <source>下载器ID格式有误,加密镜像必须绑定下载器!</source>
        <translation>The programmer ID format is wrong; an encrypted image must be bound to a programmer!</translation>
    </message>
    <message>
        <source>请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！</source>
        <translation>Check that this is the right programmer! This is an encrypted image and its check code does not match!</translation>
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
    <name>CStationUsb</name>
    <message>
        <source>%1 串口打开失败</source>
        <translation>%1: cannot open the serial port</translation>
    </message>
    <message>
        <source>设备不匹配!</source>
        <translation>Device mismatch!</translation>
    </message>
    <message>
        <source>下载器正在传输文件, 请稍后</source>
        <translation>The programmer is transferring a file; please wait</translation>
    </message>
    <message>
        <source>下发文件读取失败！</source>
        <translation>Reading the file to send failed!</translation>
    </message>
    <message>
        <source>通信超时, 请重试</source>
        <translation>Communication timed out, please retry</translation>
    </message>
    <message>
        <source>USB-HID下载器建立连接, 正在初始化...</source>
        <translation>USB-HID programmer connected, initialising...</translation>
    </message>
    <message>
        <source>USB-VCP下载器建立连接， 正在初始化...</source>
        <translation>USB-VCP programmer connected, initialising...</translation>
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
        <source>烧录器-%1 上送%2失败: 文件帧%3有误</source>
        <translation>Programmer %1 upload of %2 failed: file frame %3 is wrong</translation>
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
        <source>烧录器-%1 信号数据拉取完毕</source>
        <translation>Programmer %1 signal data pulled</translation>
    </message>
    <message>
        <source>下载器初始化完成，可以进行后续操作</source>
        <translation>Programmer initialised, further operations are possible</translation>
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
        <source>烧录器-%1 本地配置文件更新失败</source>
        <translation>Programmer %1: updating the local configuration file failed</translation>
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
    <name>FileHandle</name>
    <message>
        <source>文件名不合法: %1</source>
        <translation>Invalid file name: %1</translation>
    </message>
    <message>
        <source>文件过大, 已放弃接收: %1</source>
        <translation>File too large, reception abandoned: %1</translation>
    </message>
    <message>
        <source>文件写入失败: %1</source>
        <translation>Writing the file failed: %1</translation>
    </message>
    <message>
        <source>文件接收超时: </source>
        <translation>File reception timed out: </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>远程镜像下载</source>
        <translation>Remote image download</translation>
    </message>
    <message>
        <source>QEL芯片管理</source>
        <translation>QEL chip management</translation>
    </message>
    <message>
        <source>NSQ远程镜像下载</source>
        <translation>NSQ remote image download</translation>
    </message>
    <message>
        <source>获取远端离线镜像</source>
        <translation>Obtain remote offline image</translation>
    </message>
    <message>
        <source>固件程序下载</source>
        <translation>Firmware download</translation>
    </message>
    <message>
        <source>开启USB-HID模式</source>
        <translation>Enable USB-HID mode</translation>
    </message>
    <message>
        <source>清空日志</source>
        <translation>Clear log</translation>
    </message>
    <message>
        <source>主题色</source>
        <translation>Theme colour</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
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
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>功能选择</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>检查更新</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>QEL下载器客户端</source>
        <translation>QEL programmer client</translation>
    </message>
    <message>
        <source>未检测到下载器!</source>
        <translation>No programmer detected!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>下载器未连接!</source>
        <translation>Programmer not connected!</translation>
    </message>
    <message>
        <source>请输入镜像获取字符</source>
        <translation>Enter the image retrieval characters</translation>
    </message>
    <message>
        <source>在此输入</source>
        <translation>Enter here</translation>
    </message>
    <message>
        <source>获取字符为空</source>
        <translation>The retrieval characters are empty</translation>
    </message>
    <message>
        <source>确认退出程序?</source>
        <translation>Really exit the program?</translation>
    </message>
    <message>
        <source>检测到设备接入</source>
        <translation>Device insertion detected</translation>
    </message>
    <message>
        <source>检测到设备退出</source>
        <translation>A device was removed</translation>
    </message>
    <message>
        <source>检测到USB-HID模式下载器</source>
        <translation>USB-HID programmer detected</translation>
    </message>
    <message>
        <source>检测到HID下载器已断开连接</source>
        <translation>HID programmer disconnected</translation>
    </message>
    <message>
        <source>检测到USB-VCP模式下载器</source>
        <translation>USB-VCP programmer detected</translation>
    </message>
    <message>
        <source>检测到VCP下载器已断开连接:</source>
        <translation>VCP programmer disconnected:</translation>
    </message>
</context>
<context>
    <name>MyUpdater</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>chipform</name>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>Close port</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>程序版本:</source>
        <translation>Program version:</translation>
    </message>
    <message>
        <source>CRC1:</source>
        <translation>CRC1:</translation>
    </message>
    <message>
        <source>CRC2:</source>
        <translation>CRC2:</translation>
    </message>
    <message>
        <source>串口已打开</source>
        <translation>Port open</translation>
    </message>
    <message>
        <source>串口已关闭</source>
        <translation>Port closed</translation>
    </message>
    <message>
        <source>串口打开成功</source>
        <translation>port opened</translation>
    </message>
    <message>
        <source>串口打开失败</source>
        <translation>port open failed</translation>
    </message>
    <message>
        <source>串口未打开!</source>
        <translation>Port not open!</translation>
    </message>
    <message>
        <source>发送命令: </source>
        <translation>Command sent: </translation>
    </message>
    <message>
        <source>收到报文: </source>
        <translation>Frame received: </translation>
    </message>
    <message>
        <source>未知的功能码</source>
        <translation>Unknown function code</translation>
    </message>
    <message>
        <source>数据长度错误</source>
        <translation>Data length error</translation>
    </message>
</context>
<context>
    <name>remoteServer</name>
    <message>
        <source>云端服务器已断开</source>
        <translation>Cloud server disconnected</translation>
    </message>
</context>
<context>
    <name>remoteform</name>
    <message>
        <source>下载器信息</source>
        <translation>Programmer</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>下载器:</source>
        <translation>Programmer:</translation>
    </message>
    <message>
        <source>下载器ID:</source>
        <translation>Programmer ID:</translation>
    </message>
    <message>
        <source>下载器型号:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>固件版本:</source>
        <translation>Firmware version:</translation>
    </message>
    <message>
        <source>硬件版本:</source>
        <translation>Hardware version:</translation>
    </message>
    <message>
        <source>本地镜像</source>
        <translation>Local image</translation>
    </message>
    <message>
        <source>选择本地镜像</source>
        <translation>Choose local image</translation>
    </message>
    <message>
        <source>下载本地镜像</source>
        <translation>Download local image</translation>
    </message>
    <message>
        <source>查看镜像</source>
        <translation>Show images</translation>
    </message>
    <message>
        <source>查看配置</source>
        <translation>Show configuration</translation>
    </message>
    <message>
        <source>MQTT远程</source>
        <translation>MQTT remote</translation>
    </message>
    <message>
        <source>TCP远程</source>
        <translation>TCP remote</translation>
    </message>
    <message>
        <source>离线镜像</source>
        <translation>Offline image</translation>
    </message>
    <message>
        <source>NSQ远程</source>
        <translation>NSQ remote</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>服务器IP:</source>
        <translation>Server IP:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>获取</source>
        <translation>Get</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>固件下载成功:</source>
        <translation>Firmware downloaded:</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>未检测到下载器!</source>
        <translation>No programmer detected!</translation>
    </message>
    <message>
        <source>下载器列表已刷新!</source>
        <translation>Programmer list refreshed!</translation>
    </message>
    <message>
        <source>选择本地镜像文件:</source>
        <translation>Select local image file:</translation>
    </message>
    <message>
        <source>hex,bin,img file (*.hex *.bin *.img)</source>
        <translation>hex,bin,img file (*.hex *.bin *.img)</translation>
    </message>
    <message>
        <source>下载器未选择!</source>
        <translation>No programmer selected!</translation>
    </message>
    <message>
        <source>本地镜像未选择!</source>
        <translation>No local image selected!</translation>
    </message>
    <message>
        <source>已选本地镜像不存在!</source>
        <translation>The selected local image does not exist!</translation>
    </message>
    <message>
        <source>下载本地镜像失败!</source>
        <translation>Downloading the local image failed!</translation>
    </message>
    <message>
        <source>下载本地镜像：镜像号=%1，镜像名称=%2 %3</source>
        <translation>Local image downloaded: number=%1, name=%2 %3</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>succeeded</translation>
    </message>
    <message>
        <source>下载器镜像信息读取失败!</source>
        <translation>Reading the programmer's image information failed!</translation>
    </message>
    <message>
        <source>端口号错误</source>
        <translation>Wrong port number</translation>
    </message>
    <message>
        <source>发起连接</source>
        <translation>Connecting</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>当前未检测到下载器，无法获取有效的UID.</source>
        <translation>No programmer detected, no valid UID.</translation>
    </message>
    <message>
        <source>离线镜像获取连接已关闭</source>
        <translation>Offline image fetch connection closed</translation>
    </message>
    <message>
        <source>远程接收镜像中...</source>
        <translation>Receiving image remotely...</translation>
    </message>
    <message>
        <source>镜像已清除: </source>
        <translation>Image cleared: </translation>
    </message>
    <message>
        <source>文件传输失败</source>
        <translation>File transfer failed</translation>
    </message>
    <message>
        <source>下载器未连接!</source>
        <translation>Programmer not connected!</translation>
    </message>
    <message>
        <source>连接登录QEL服务器失败!</source>
        <translation>Connecting to or logging in to the QEL server failed!</translation>
    </message>
    <message>
        <source>登录成功</source>
        <translation>Login succeeded</translation>
    </message>
    <message>
        <source>离线服务器登录成功~</source>
        <translation>Logged in to the offline server~</translation>
    </message>
    <message>
        <source>解析镜像码失败</source>
        <translation>Failed to parse the image code</translation>
    </message>
    <message>
        <source>请求文件数据失败!</source>
        <translation>Requesting file data failed!</translation>
    </message>
    <message>
        <source>正在获取...</source>
        <translation>Fetching...</translation>
    </message>
    <message>
        <source>获取离线镜像失败，原因为：%1</source>
        <translation>Getting the offline image failed, reason: %1</translation>
    </message>
    <message>
        <source>文件传输完成 :</source>
        <translation>File transfer complete: </translation>
    </message>
    <message>
        <source>镜像文件获取成功</source>
        <translation>Image file obtained</translation>
    </message>
    <message>
        <source>正在解析镜像文件</source>
        <translation>Parsing the image file</translation>
    </message>
    <message>
        <source>镜像文件读取失败</source>
        <translation>Reading the image file failed</translation>
    </message>
    <message>
        <source>镜像文件解析完成</source>
        <translation>Image file parsed</translation>
    </message>
    <message>
        <source>请点击【下载本地镜像】进行下发</source>
        <translation>Click [Download local image] to send it</translation>
    </message>
    <message>
        <source>正在下发镜像数据, 请勿断开连接</source>
        <translation>Sending image data, do not disconnect</translation>
    </message>
</context>
<context>
    <name>selindexdlg</name>
    <message>
        <source>镜像号设置</source>
        <translation>Image number setting</translation>
    </message>
    <message>
        <source>镜像名称:</source>
        <translation>Image name:</translation>
    </message>
    <message>
        <source>镜像号:</source>
        <translation>Image number:</translation>
    </message>
</context>
<context>
    <name>sendfirmdlg</name>
    <message>
        <source>下发固件%1</source>
        <translation>Send firmware %1</translation>
    </message>
    <message>
        <source>选择固件程序</source>
        <translation>Select firmware</translation>
    </message>
    <message>
        <source>选择文件</source>
        <translation>Choose file</translation>
    </message>
    <message>
        <source>下发固件程序</source>
        <translation>Send firmware program</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>选择固件文件不存在</source>
        <translation>The selected firmware file does not exist</translation>
    </message>
    <message>
        <source>下发固件文件并重启下载器后，将更新下载器固件，
是否继续?</source>
        <translation>After the firmware file is sent and the programmer restarts, its firmware is updated.
Continue?</translation>
    </message>
    <message>
        <source>固件已下发:</source>
        <translation>Firmware sent:</translation>
    </message>
</context>
<context>
    <name>showconfigdlg</name>
    <message>
        <source>修改配置%1</source>
        <translation>Modify configuration %1</translation>
    </message>
    <message>
        <source>下发配置</source>
        <translation>Send configuration</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>配置文件保存失败!</source>
        <translation>Saving the configuration file failed!</translation>
    </message>
    <message>
        <source>配置下发成功</source>
        <translation>Configuration sent</translation>
    </message>
    <message>
        <source>配置下发失败: %1</source>
        <translation>Sending the configuration failed: %1</translation>
    </message>
</context>
<context>
    <name>showimagedlg</name>
    <message>
        <source>查看镜像配置 </source>
        <translation>View image configuration </translation>
    </message>
    <message>
        <source>镜像号</source>
        <translation>Image number</translation>
    </message>
    <message>
        <source>镜像名称</source>
        <translation>Image name</translation>
    </message>
    <message>
        <source>最后修改时间</source>
        <translation>Last modified</translation>
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
        <source>选择镜像</source>
        <translation>Select image</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
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
</context>
</TS>