#include "cbin2editor.h"

#include "cbin2desc.h"
#include "cbin2text.h"

#include <csafefile.h>

#include <QDebug>
#include <QFileInfo>

bool CBin2Editor::Load(const QString &path, CBin2Message &msg)
{
    QString err;
    CBin2Counts counts;
    switch (CBin2Desc::ReadFile(CBin2Desc::PathFor(path), m_params, counts, err)) {
    case CBin2Desc::NotOpened:
        qDebug() << "Failed to open xml file for reading.";
        break;
    case CBin2Desc::XmlError:
        qDebug() << "XML parsing error:" << err;
        break;
    case CBin2Desc::Read:
        break;
    }

    QByteArray content;
    if (!CSafeFile::ReadAll(path, QString(), content, err, CBin2Text::kMaxFileSize)) {
        qDebug() << "CBin2Editor::Load" << err;
        msg = {tr("错误"), tr("文件读取失败")};
        return false;
    }
    CBin2File file;
    if (!CBin2Text::Parse(content, file, msg))
        return false;

    if (m_params.Count() == 0) {
        // Without a description every byte is one u8 parameter.
        qDebug() << "The XML file is not correct";
        if (file.data.size() != file.nLength) {
            msg = CBin2Text::LengthError();
            return false;
        }
        if (!m_params.FillAsBytes(file.data, msg)) {
            m_strAddr = QString::fromLatin1(CBin2Params::kDefaultAddr);
            return false;
        }
    } else {
        if (counts.nCount > CBin2Params::kMaxParams) {
            msg = {tr("错误！"), tr("数据过长, 当前读取参数%1个，限制%2个, 请检查！").arg(counts.nCount).arg(CBin2Params::kMaxParams)};
            m_params.Clear();
            m_strAddr = QString::fromLatin1(CBin2Params::kDefaultAddr);
            return false;
        }
        if (file.data.size() != m_params.ByteCount()) {
            msg = CBin2Text::LengthError();
            return false;
        }
        if (!m_params.FillFromData(file.data, msg))
            return false;
    }
    m_strAddr = QString::number(file.nAddr, 16).toUpper();
    return true;
}

bool CBin2Editor::Export(const QString &path, CBin2Message &msg) const
{
    if (!path.endsWith(QLatin1String(".txt"))) {
        msg = {tr("错误"), tr("文件路径错误！")};
        return false;
    }
    const QString addr = CBin2Text::AddrLine(m_strAddr);
    if (addr.isEmpty()) {
        msg = {tr("错误"), tr("Flash地址错误！")};
        return false;
    }
    QByteArray data;
    if (!m_params.ToData(data, msg))
        return false;
    QString err;
    if (!CSafeFile::Write(path, QString(), CBin2Text::Format(addr, m_params, data), err)) {
        qDebug() << "CBin2Editor::Export" << err;
        msg = {tr("错误"), tr("文件写入出错！")};
        return false;
    }
    if (!CSafeFile::Write(CBin2Desc::PathFor(path), QString(), CBin2Desc::Format(path, addr, m_params), err)) {
        qDebug() << "CBin2Editor::Export" << err;
        msg = {tr("错误"), tr("参数描述文件写入失败！")};
        return false;
    }
    msg = {tr("成功"), tr("BIN2文件导出成功！"), false};
    return true;
}

bool CBin2Editor::ReadRequest(int &addr, int &len) const
{
    bool ok = false;
    const uint value = m_strAddr.trimmed().toUInt(&ok, 16);
    if (!ok || CBin2Text::AddrLine(m_strAddr).isEmpty())
        return false;
    addr = int(value);
    // Wider parameters take more than one byte each: ask for all of them.
    len = m_params.ByteCount();
    return true;
}

bool CBin2Editor::TakeFlashData(const QString &localPath, CBin2Message &msg)
{
    const QFileInfo info(localPath);
    if (localPath.isEmpty() || !info.exists()) {
        msg = {tr("错误"), tr("参数文件读取失败！")};
        return false;
    }
    if (info.size() > kMaxFlashBytes) {
        msg = {tr("错误"), tr("参数长度超限制！")};
        return false;
    }
    QByteArray data;
    QString err;
    // Only the file of the programmer's own folder, never one a link there leads to.
    if (!CSafeFile::ReadAll(localPath, info.absolutePath(), data, err, kMaxFlashBytes)) {
        qDebug() << "CBin2Editor::TakeFlashData" << err;
        msg = {tr("错误"), tr("参数文件打开失败！")};
        return false;
    }
    if (!m_params.FillFromData(data, msg))
        return false;
    msg = {tr("提示"), tr("参数读取解析完成！"), false};
    return true;
}
