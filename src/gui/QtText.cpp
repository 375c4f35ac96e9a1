#include "gui/QtText.h"

#include "platform/Codepage.h"

QString FromCp949(const std::string& strCp949)
{
    return QString::fromStdString(platform::Cp949ToUtf8(strCp949));
}

std::string ToCp949(const QString& text)
{
    return platform::Utf8ToCp949(text.toStdString());
}
