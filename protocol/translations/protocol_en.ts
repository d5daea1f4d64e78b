<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ProtoText</name>
    <message>
        <source>开始发送文件:</source>
        <translation>Start sending file:</translation>
    </message>
    <message>
        <source>文件名不合法, 拒绝发送:</source>
        <translation>Invalid file name, not sent:</translation>
    </message>
    <message>
        <source>打开文件失败:</source>
        <translation>Failed to open file:</translation>
    </message>
    <message>
        <source>远程下发镜像中...</source>
        <translation>Sending image to the remote side...</translation>
    </message>
    <message>
        <source>未找到下载器</source>
        <translation>Programmer not found</translation>
    </message>
    <message>
        <source>收到文件推送, name=%1, size=%2, date=%3</source>
        <translation>File push received, name=%1, size=%2, date=%3</translation>
    </message>
    <message>
        <source>文件名不合法, 拒绝接收:</source>
        <translation>Invalid file name, not received:</translation>
    </message>
    <message>
        <source>开始召唤文件</source>
        <translation>Requesting the file</translation>
    </message>
    <message>
        <source>报文过长(%1字节), 未发送</source>
        <translation>Message too long (%1 bytes), not sent</translation>
    </message>
    <message>
        <source>数据传输失败</source>
        <translation>Data transfer failed</translation>
    </message>
    <message>
        <source>topic:%1 发送报文:%3</source>
        <translation>topic:%1 sent message:%3</translation>
    </message>
    <message>
        <source>云端服务器已连接</source>
        <translation>Cloud server connected</translation>
    </message>
    <message>
        <source>云端服务器已断开</source>
        <translation>Cloud server disconnected</translation>
    </message>
    <message>
        <source>MQTT云端服务器已连接</source>
        <translation>MQTT cloud server connected</translation>
    </message>
    <message>
        <source>MQTT云端服务器已断开</source>
        <translation>MQTT cloud server disconnected</translation>
    </message>
    <message>
        <source>%1:%2 发送报文:%3</source>
        <translation>%1:%2 sent message:%3</translation>
    </message>
    <message>
        <source>已连接 </source>
        <translation>connected </translation>
    </message>
    <message>
        <source>已断开 </source>
        <translation>disconnected </translation>
    </message>
    <message>
        <source>%1:%2 收到报文:%3</source>
        <translation>%1:%2 received message:%3</translation>
    </message>
    <message>
        <source>topic:%1 收到报文:%2</source>
        <translation>topic:%1 received message:%2</translation>
    </message>
    <message>
        <source>%1 收到报文:%2</source>
        <translation>%1 received message:%2</translation>
    </message>
    <message>
        <source>文件名不合法, 已忽略:</source>
        <translation>Invalid file name, ignored:</translation>
    </message>
    <message>
        <source>对端已断开, 自动断开云服务器连接</source>
        <translation>The peer has disconnected; disconnecting from the cloud server</translation>
    </message>
    <message>
        <source>镜像文件属性拉取完毕</source>
        <translation>Image file attributes fetched</translation>
    </message>
    <message>
        <source>拉取文件属性...</source>
        <translation>Fetching file attributes...</translation>
    </message>
    <message>
        <source>下载器对时成功:</source>
        <translation>Programmer clock set:</translation>
    </message>
    <message>
        <source>写入出错, 对时失败</source>
        <translation>Write error, clock not set</translation>
    </message>
    <message>
        <source>下载器更新指令完成:</source>
        <translation>Programmer update command done:</translation>
    </message>
    <message>
        <source>下载器更新指令失败</source>
        <translation>Programmer update command failed</translation>
    </message>
    <message>
        <source>文件校验完成</source>
        <translation>File verification complete</translation>
    </message>
    <message>
        <source>文件校验失败！请重新下发</source>
        <translation>File verification failed! Please send again</translation>
    </message>
    <message>
        <source>删除文件名为：</source>
        <translation>Deleted file name: </translation>
    </message>
    <message>
        <source>删除镜像文件失败</source>
        <translation>Deleting the image file failed</translation>
    </message>
    <message>
        <source>下载器所有镜像文件已删除</source>
        <translation>All image files of the programmer deleted</translation>
    </message>
    <message>
        <source>下载器(HID模式)镜像文件已删除</source>
        <translation>Programmer (HID mode) image file deleted</translation>
    </message>
    <message>
        <source>下载器</source>
        <translation>Programmer </translation>
    </message>
    <message>
        <source>下载成功</source>
        <translation> programmed successfully</translation>
    </message>
    <message>
        <source>下载失败</source>
        <translation> programming failed</translation>
    </message>
    <message>
        <source>HID传输数据失败!</source>
        <translation>HID data transfer failed!</translation>
    </message>
    <message>
        <source>更新远程镜像信息</source>
        <translation>Remote image information updated</translation>
    </message>
    <message>
        <source>更新远程配置信息数据</source>
        <translation>Remote configuration data updated</translation>
    </message>
    <message>
        <source>镜像%1清除成功!</source>
        <translation>Image %1 cleared!</translation>
    </message>
    <message>
        <source>镜像%1清除失败!</source>
        <translation>Clearing image %1 failed!</translation>
    </message>
    <message>
        <source>文件%1发送成功!</source>
        <translation>File %1 sent!</translation>
    </message>
    <message>
        <source>文件%1发送失败!</source>
        <translation>Sending file %1 failed!</translation>
    </message>
    <message>
        <source>文件%1下装成功!</source>
        <translation>File %1 loaded into the programmer!</translation>
    </message>
    <message>
        <source>文件%1下装失败!</source>
        <translation>Loading file %1 into the programmer failed!</translation>
    </message>
    <message>
        <source>对端已断开, 停止发送文件:</source>
        <translation>The peer has gone; stopped sending file:</translation>
    </message>
    <message>
        <source>对端长时间未接收, 停止发送文件:</source>
        <translation>The peer has not read for too long; stopped sending file:</translation>
    </message>
    <message>
        <source>文件发送任务过多, 拒绝发送:</source>
        <translation>Too many file transfers for this peer; refused to send:</translation>
    </message>
    <message>
        <source>%1:%2 未读取的数据超过%3字节, 已断开</source>
        <translation>%1:%2 left more than %3 bytes unread; disconnected</translation>
    </message>
    <message>
        <source>下载器信息超出长度限制, 已忽略</source>
        <translation>Programmer description beyond the length limits; ignored</translation>
    </message>
    <message>
        <source>无法替换本地文件:</source>
        <translation>Cannot replace the local file: </translation>
    </message>
    <message>
        <source>未请求的文件数据, 已忽略:</source>
        <translation>File data that was not asked for, ignored: </translation>
    </message>
    <message>
        <source>服务器拒绝</source>
        <translation>refused by the server</translation>
    </message>
    <message>
        <source>数据偏移量%1不连续, 本地文件%2字节</source>
        <translation>data at offset %1 does not follow the local file of %2 bytes</translation>
    </message>
    <message>
        <source>数据不是有效的Base64</source>
        <translation>the data is not valid Base64</translation>
    </message>
    <message>
        <source>文件超过%1字节</source>
        <translation>the file is larger than %1 bytes</translation>
    </message>
    <message>
        <source>数据块为空</source>
        <translation>empty piece of data</translation>
    </message>
    <message>
        <source>云端应答来自非云端连接, 已忽略</source>
        <translation>A cloud answer that did not come from the cloud connection was ignored</translation>
    </message>
</context>
</TS>