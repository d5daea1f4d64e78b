<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>BurnHub</name>
    <message>
        <source>镜像索引文件打开失败</source>
        <translation>The image index file could not be opened</translation>
    </message>
    <message>
        <source>镜像索引文件%1不存在</source>
        <translation>The image index file %1 does not exist</translation>
    </message>
    <message>
        <source>镜像索引文件%1打开失败</source>
        <translation>The image index file %1 could not be opened</translation>
    </message>
    <message>
        <source>%1已经配置在镜像号%2中</source>
        <translation>%1 is already configured as image number %2</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>
清除原配置并重试？</source>
        <translation>
Clear the old setting and retry?</translation>
    </message>
    <message>
        <source>镜像文件下载失败</source>
        <translation>Image file download failed</translation>
    </message>
    <message>
        <source>下载器配置文件打开失败</source>
        <translation>The programmer parameter file could not be opened</translation>
    </message>
    <message>
        <source>下载器信号配置文件打开失败</source>
        <translation>The programmer signal file could not be opened</translation>
    </message>
    <message>
        <source>配置文件下载失败!</source>
        <translation>Parameter file download failed!</translation>
    </message>
    <message>
        <source>配置文件更新指令下发失败!</source>
        <translation>The parameter refresh command could not be issued!</translation>
    </message>
    <message>
        <source>信号配置文件下载失败!</source>
        <translation>Signal configuration file download failed!</translation>
    </message>
    <message>
        <source>密码下发更新失败!</source>
        <translation>Password update failed!</translation>
    </message>
    <message>
        <source>固件程序下载失败!</source>
        <translation>Firmware download failed!</translation>
    </message>
</context>
<context>
    <name>CImageBuilder</name>
    <message>
        <source>选择文件格式不支持!</source>
        <translation>The selected file format is not supported!</translation>
    </message>
    <message>
        <source>文件打开失败:%1</source>
        <translation>Opening the file failed: %1</translation>
    </message>
    <message>
        <source>程序地址超出范围:%1</source>
        <translation>Program address out of range: %1</translation>
    </message>
    <message>
        <source>要有效限制下载次数，请选择加密镜像!</source>
        <translation>To limit the download count effectively, choose an encrypted image!</translation>
    </message>
    <message>
        <source>下载器ID格式有误,加密镜像必须绑定下载器!</source>
        <translation>The programmer ID format is wrong; an encrypted image must be bound to a programmer!</translation>
    </message>
    <message>
        <source>程序列表不能为空，程序路径不能为空!</source>
        <translation>The program list and the program paths must not be empty!</translation>
    </message>
    <message>
        <source>程序文件读取错误</source>
        <translation>Error reading the program file</translation>
    </message>
    <message>
        <source>镜像文件生成失败 </source>
        <translation>Generating the image file failed </translation>
    </message>
    <message>
        <source>镜像名称: </source>
        <translation>Image name: </translation>
    </message>
    <message>
        <source>是否加密: </source>
        <translation>Encrypted: </translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>最大烧写次数: </source>
        <translation>Maximum burn count: </translation>
    </message>
    <message>
        <source>MCU类型: </source>
        <translation>MCU type: </translation>
    </message>
    <message>
        <source>镜像CRC: </source>
        <translation>Image CRC: </translation>
    </message>
    <message>
        <source>版本: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>镜像文件处理完成!</source>
        <translation>Image file done!</translation>
    </message>
    <message>
        <source>下载器未选择！</source>
        <translation>No programmer selected!</translation>
    </message>
    <message>
        <source>镜像号错误，当前下载器支持最大镜像号为:%1!</source>
        <translation>Wrong image number; this programmer's largest image number is %1!</translation>
    </message>
    <message>
        <source>(加密镜像)</source>
        <translation>(encrypted image)</translation>
    </message>
    <message>
        <source>(非加密镜像)</source>
        <translation>(unencrypted image)</translation>
    </message>
    <message>
        <source>镜像号超出范围，支持[0,%1]</source>
        <translation>Image number out of range; [0,%1] is supported</translation>
    </message>
    <message>
        <source>镜像名称不能大于%1字节!</source>
        <translation>The image name must not be longer than %1 bytes!</translation>
    </message>
    <message>
        <source>镜像名称不能包含等号(=)</source>
        <translation>The image name must not contain an equals sign (=)</translation>
    </message>
    <message>
        <source>镜像名称不能为空</source>
        <translation>The image name must not be empty</translation>
    </message>
    <message>
        <source>注意: %1 放在地址 %2, 而HEX文件的起始地址为 %3</source>
        <translation>Note: %1 is placed at %2, but the HEX file starts at %3</translation>
    </message>
    <message>
        <source>程序文件为空:%1</source>
        <translation>The program file is empty: %1</translation>
    </message>
    <message>
        <source>程序地址重叠: %1 与 %2</source>
        <translation>Program addresses overlap: %1 and %2</translation>
    </message>
    <message>
        <source>镜像名称含有GBK编码无法表示的字符: %1</source>
        <translation>The image name has characters that GBK cannot hold: %1</translation>
    </message>
</context>
<context>
    <name>CImageFile</name>
    <message>
        <source>镜像文件长度错误</source>
        <translation>Wrong image file length</translation>
    </message>
    <message>
        <source>镜像加密标志错误</source>
        <translation>Wrong image encryption mark</translation>
    </message>
    <message>
        <source>下载器ID格式有误,加密镜像必须绑定下载器!</source>
        <translation>The programmer ID format is wrong; an encrypted image must be bound to a programmer!</translation>
    </message>
    <message>
        <source>请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！</source>
        <translation>Check that this is the right programmer! This is an encrypted image and its check code does not match!</translation>
    </message>
    <message>
        <source>镜像校验和错误</source>
        <translation>Image checksum error</translation>
    </message>
    <message>
        <source>镜像CRC错误</source>
        <translation>Image CRC error</translation>
    </message>
</context>
<context>
    <name>CImagePackage</name>
    <message>
        <source>读取当前下载器序列文件失败</source>
        <translation>Reading the programmer's index file failed</translation>
    </message>
    <message>
        <source>程序文件读取失败！</source>
        <translation>Reading the program file failed!</translation>
    </message>
    <message>
        <source>镜像包文件写入失败！</source>
        <translation>Writing the package file failed!</translation>
    </message>
    <message>
        <source>镜像包文件读取失败</source>
        <translation>Reading the package file failed</translation>
    </message>
    <message>
        <source>镜像包中没有镜像</source>
        <translation>The package holds no images</translation>
    </message>
    <message>
        <source>镜像包不完整: 声明%1个镜像, 只读到%2个</source>
        <translation>The package is incomplete: %1 images declared, only %2 read</translation>
    </message>
    <message>
        <source>镜像包中的镜像名称非法: %1</source>
        <translation>Invalid image name in the package: %1</translation>
    </message>
    <message>
        <source>镜像包中的镜像号超出范围: %1</source>
        <translation>Image number in the package out of range: %1</translation>
    </message>
    <message>
        <source>镜像包中的镜像重复: %1</source>
        <translation>Image repeated in the package: %1</translation>
    </message>
    <message>
        <source>镜像包中的镜像数据有误: %1</source>
        <translation>Image data in the package is damaged: %1</translation>
    </message>
    <message>
        <source>镜像包中的镜像大小不符: %1</source>
        <translation>Image size in the package does not match: %1</translation>
    </message>
    <message>
        <source>镜像包中的镜像加密标志不符: %1</source>
        <translation>Encryption flag of an image in the package does not match: %1</translation>
    </message>
    <message>
        <source>镜像未加密</source>
        <translation>The image is not encrypted</translation>
    </message>
</context>
<context>
    <name>CProgerParam</name>
    <message>
        <source>当前配置存在互斥，请修改!（连续模式和硬件复位不能同时开启)
</source>
        <translation>Conflicting settings, please change them! (Continuous mode and hardware reset cannot both be on)
</translation>
    </message>
    <message>
        <source>当前配置存在互斥，请修改!（连续模式和USB通信模式会互相影响)
</source>
        <translation>Conflicting settings, please change them! (Continuous mode and the USB communication mode interfere)
</translation>
    </message>
</context>
<context>
    <name>ProgerInfo</name>
    <message>
        <source>云端连接</source>
        <translation>Cloud connection</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>configform</name>
    <message>
        <source>参数配置</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>简洁模式：</source>
        <translation>Simple mode:</translation>
    </message>
    <message>
        <source>芯片类型：</source>
        <translation>Chip type:</translation>
    </message>
    <message>
        <source>速度模式：</source>
        <translation>Speed mode:</translation>
    </message>
    <message>
        <source>电压选择：</source>
        <translation>Voltage:</translation>
    </message>
    <message>
        <source>连续下载：</source>
        <translation>Continuous download:</translation>
    </message>
    <message>
        <source>连续间隔(ms)：</source>
        <translation>Interval (ms):</translation>
    </message>
    <message>
        <source>配置连续烧录间隔</source>
        <translation>Interval between continuous programming runs</translation>
    </message>
    <message>
        <source>加密Flash：</source>
        <translation>Encrypt flash:</translation>
    </message>
    <message>
        <source>全擦Flash：</source>
        <translation>Full-chip erase:</translation>
    </message>
    <message>
        <source>下载方式：</source>
        <translation>Download method:</translation>
    </message>
    <message>
        <source>SWD时钟：</source>
        <translation>SWD clock:</translation>
    </message>
    <message>
        <source>IAP波特率：</source>
        <translation>IAP baud rate:</translation>
    </message>
    <message>
        <source>IAP半双工：</source>
        <translation>IAP half duplex:</translation>
    </message>
    <message>
        <source>写入CRC：</source>
        <translation>Write CRC:</translation>
    </message>
    <message>
        <source>LANGUAGE:</source>
        <translation>LANGUAGE:</translation>
    </message>
    <message>
        <source>复位MCU：</source>
        <translation>Reset MCU:</translation>
    </message>
    <message>
        <source>功能模式：</source>
        <translation>Function mode:</translation>
    </message>
    <message>
        <source>选择下载器用于烧写或者校验</source>
        <translation>Use the programmer for programming or for verifying</translation>
    </message>
    <message>
        <source>USB工作模式：</source>
        <translation>USB working mode:</translation>
    </message>
    <message>
        <source>机台模式：</source>
        <translation>Machine mode:</translation>
    </message>
    <message>
        <source>机台模式下，选中镜像后，需要机台发送Start信号启动下载。</source>
        <translation>In machine mode, after an image is chosen the machine must send Start to begin programming.</translation>
    </message>
    <message>
        <source>启动页面：</source>
        <translation>Start page:</translation>
    </message>
    <message>
        <source>CRC显示：</source>
        <translation>CRC display:</translation>
    </message>
    <message>
        <source>电源保护：</source>
        <translation>Power protection:</translation>
    </message>
    <message>
        <source>FLM档位：</source>
        <translation>FLM level:</translation>
    </message>
    <message>
        <source>上电烧写使能：</source>
        <translation>Program at power-up:</translation>
    </message>
    <message>
        <source>上电烧写镜像：</source>
        <translation>Power-up image:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
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
        <source>烧写模式</source>
        <translation>Programming mode</translation>
    </message>
    <message>
        <source>校验模式</source>
        <translation>Verify mode</translation>
    </message>
    <message>
        <source>主页</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>编程页</source>
        <translation>Programming</translation>
    </message>
    <message>
        <source>校验页</source>
        <translation>Verify</translation>
    </message>
    <message>
        <source>设置页</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>帮助页</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>全显示</source>
        <translation>Show all</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>错误！</source>
        <translation>Error!</translation>
    </message>
</context>
<context>
    <name>selfirmform</name>
    <message>
        <source>固件选择</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>提示:下发固件文件并重启下载器后，即可完成下载器固件更新。</source>
        <translation>Note: send the firmware file and restart the programmer to complete its firmware update.</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>固件大小：</source>
        <translation>Firmware size:</translation>
    </message>
    <message>
        <source>修改日期：</source>
        <translation>Modified:</translation>
    </message>
    <message>
        <source>固件CRC：</source>
        <translation>Firmware CRC:</translation>
    </message>
    <message>
        <source>选择固件文件</source>
        <translation>Choose firmware file</translation>
    </message>
    <message>
        <source>提示：
下发固件文件并重启下载器后，将更新下载器固件.</source>
        <translation>Note:
After the firmware file is sent and the programmer restarted, its firmware is updated.</translation>
    </message>
</context>
<context>
    <name>signalform</name>
    <message>
        <source>信号配置</source>
        <translation>Signal settings</translation>
    </message>
    <message>
        <source>信号类型：</source>
        <translation>Signal type:</translation>
    </message>
    <message>
        <source>输出的电平信号类型</source>
        <translation>Type of the output signals</translation>
    </message>
    <message>
        <source>信号脉宽(ms)：</source>
        <translation>Pulse width (ms):</translation>
    </message>
    <message>
        <source>设置脉冲信号持续时间80~500ms, 电平信号类型不生效</source>
        <translation>Pulse width, 80~500 ms; ignored for level signals</translation>
    </message>
    <message>
        <source>Start信号：</source>
        <translation>Start signal:</translation>
    </message>
    <message>
        <source>检测Start信号-高低电平</source>
        <translation>Level on which Start is detected</translation>
    </message>
    <message>
        <source>Start信号脉宽(ms)：</source>
        <translation>Start pulse width (ms):</translation>
    </message>
    <message>
        <source>设置Start信号检测时间80~500ms</source>
        <translation>Start detection time, 80~500 ms</translation>
    </message>
    <message>
        <source>BUSY信号：</source>
        <translation>BUSY signal:</translation>
    </message>
    <message>
        <source>SUCCESS信号：</source>
        <translation>SUCCESS signal:</translation>
    </message>
    <message>
        <source>FAIL信号：</source>
        <translation>FAIL signal:</translation>
    </message>
    <message>
        <source>电平信号</source>
        <translation>Level signal</translation>
    </message>
    <message>
        <source>脉冲信号</source>
        <translation>Pulse signal</translation>
    </message>
    <message>
        <source>低电平</source>
        <translation>Low level</translation>
    </message>
    <message>
        <source>高电平</source>
        <translation>High level</translation>
    </message>
</context>
</TS>