// Code page 949 core texts <-> QString for the widgets.
#pragma once

#include <QString>
#include <string>

QString FromCp949(const std::string& strCp949);
std::string ToCp949(const QString& text);
