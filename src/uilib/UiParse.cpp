#include "uilib/UiParse.h"

namespace UiLib::Parse {

bool Bool(const QString& value)
{
    return value == QLatin1String("true");
}

namespace {

// Reads a decimal number at position i (skipping blanks), advancing i; false when none is there.
bool ReadInt(const QString& text, qsizetype& i, int& out)
{
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    bool any = false;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (value < 0x7FFFFFFF)
            value = value * 10 + (text[i].unicode() - u'0');
        any = true;
        ++i;
    }
    if (!any)
        return false;
    value = qMin<qint64>(value, 0x7FFFFFFF);
    out = static_cast<int>(negative ? -value : value);
    return true;
}

} // namespace

int Int(const QString& value, int fallback)
{
    qsizetype i = 0;
    int out = 0;
    return ReadInt(value, i, out) ? out : fallback;
}

std::uint32_t Color(const QString& value)
{
    QStringView text = QStringView(value).trimmed();
    if (text.startsWith(u'#'))
        text = text.mid(1);
    else if (text.startsWith(u"0x", Qt::CaseInsensitive))
        text = text.mid(2);
    std::uint32_t result = 0;
    int digits = 0;
    for (const QChar c : text) {
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c.unicode() - u'0';
        else if (c >= u'a' && c <= u'f')
            d = c.unicode() - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            d = c.unicode() - u'A' + 10;
        if (d < 0 || digits == 8)
            break;
        result = (result << 4) | static_cast<std::uint32_t>(d);
        ++digits;
    }
    if (digits == 6)
        result |= 0xFF000000u;
    return result;
}

QList<int> Ints(const QString& value, int count)
{
    QList<int> result;
    qsizetype i = 0;
    while (result.size() < count) {
        int number = 0;
        if (!ReadInt(value, i, number))
            break;
        result.append(number);
        while (i < value.size() && value[i].isSpace())
            ++i;
        if (i < value.size() && value[i] == u',')
            ++i;
        else
            break;
    }
    while (result.size() < count)
        result.append(0);
    return result;
}

QMargins Margins(const QString& value)
{
    const QList<int> v = Ints(value, 4);
    return QMargins(v[0], v[1], v[2], v[3]);
}

QRect Rect(const QString& value)
{
    const QList<int> v = Ints(value, 4);
    return QRect(v[0], v[1], v[2] - v[0], v[3] - v[1]);
}

QSize Size(const QString& value)
{
    const QList<int> v = Ints(value, 2);
    return QSize(v[0], v[1]);
}

QList<QPair<QString, QString>> AttributeList(const QString& list)
{
    QList<QPair<QString, QString>> result;
    qsizetype i = 0;
    const qsizetype n = list.size();
    while (i < n) {
        while (i < n && list[i].isSpace())
            ++i;
        const qsizetype nameStart = i;
        while (i < n && list[i] != u'=' && !list[i].isSpace())
            ++i;
        const QString name = list.mid(nameStart, i - nameStart);
        while (i < n && list[i].isSpace())
            ++i;
        if (name.isEmpty() || i >= n || list[i] != u'=')
            break;
        ++i;
        while (i < n && list[i].isSpace())
            ++i;
        if (i >= n || (list[i] != u'"' && list[i] != u'\''))
            break;
        const QChar quote = list[i++];
        const qsizetype valueStart = i;
        while (i < n && list[i] != quote)
            ++i;
        if (i >= n)
            break;
        result.append({name, list.mid(valueStart, i - valueStart)});
        ++i;
    }
    return result;
}

} // namespace UiLib::Parse
