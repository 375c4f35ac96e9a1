// kelmora-cli paths FILE [--indexed NAME]...: what Kelmora reads from an XML file, as
// path<TAB>text lines in document order, then the counts, then the parser's error.
#include <ostream>

#include "cli/CliContext.h"
#include "platform/Codepage.h"
#include "platform/File.h"
#include "xml/XmlCfg.h"

namespace
{

// Tab, CR, LF, backslash and other control bytes as backslash escapes, so that one entry
// stays on one line; then UTF-8 for the terminal.
std::string EscapeForLine(const std::string& strCp949)
{
    std::string escaped;
    escaped.reserve(strCp949.size());
    for (unsigned char c : strCp949)
    {
        switch (c)
        {
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        default:
            if (c < 0x20)
            {
                static const char kHex[] = "0123456789abcdef";
                escaped += "\\x";
                escaped += kHex[c >> 4];
                escaped += kHex[c & 0x0F];
            }
            else
                escaped += static_cast<char>(c);
        }
    }
    return platform::Cp949ToUtf8(escaped);
}

} // namespace

int RunPaths(CCliContext& ctx)
{
    const std::vector<std::string>& args = ctx.options.m_args;
    std::string strFile;
    CStrList indexed;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] == "--indexed")
        {
            if (i + 1 >= args.size())
            {
                ctx.err << "kelmora-cli: --indexed needs an element name\n";
                return kExitUsage;
            }
            indexed.Add(platform::Utf8ToCp949(args[++i]));
        }
        else if (args[i].rfind("--indexed=", 0) == 0)
            indexed.Add(platform::Utf8ToCp949(args[i].substr(10)));
        else if (strFile.empty() && args[i].rfind("-", 0) != 0)
            strFile = args[i];
        else
        {
            ctx.err << "kelmora-cli: paths: unexpected argument '" << args[i] << "'\n";
            return kExitUsage;
        }
    }
    if (strFile.empty())
    {
        ctx.err << "kelmora-cli: paths needs a FILE\n";
        return kExitUsage;
    }
    std::string strText;
    if (!platform::ReadWholeFile(strFile, strText))
    {
        ctx.err << "kelmora-cli: cannot read " << strFile << '\n';
        return kExitFailed;
    }
    CXmlCfg doc;
    bool bLoaded = doc.LoadFromText(strText, indexed.GetCount() > 0 ? &indexed : nullptr);
    for (const CToken& entry : doc.GetEntries())
        ctx.out << EscapeForLine(entry.m_strName) << '\t' << EscapeForLine(entry.m_strData) << '\n';
    for (const std::string& key : doc.GetCountKeys())
        ctx.out << EscapeForLine(key) << '\t' << doc.GetCount(key) << '\n';
    if (!doc.GetParseError().empty())
        ctx.out << EscapeForLine(doc.GetParseError()) << '\n';
    return bLoaded ? kExitOk : kExitFailed;
}
