#include "resources/strings/res_strings.h"

#include <QFile>
#include <QHash>
#include <QStringList>

namespace {

QString Unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != u'\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        switch (s[++i].unicode()) {
        case 'r': out += u'\r'; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        default: out += s[i]; break;
        }
    }
    return out;
}

QHash<int, QString> ReadTable()
{
    QHash<int, QString> table;
    QFile f(QStringLiteral(":/strings/strings.tsv"));
    if (!f.open(QIODevice::ReadOnly)) return table;
    const QString all = QString::fromUtf8(f.readAll());
    for (QStringView line : QStringView(all).split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0) continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (ok) table.insert(id, Unescape(line.mid(tab + 1)));
    }
    return table;
}

const QHash<int, QString>& Table()
{
    static const QHash<int, QString> table = ReadTable();
    return table;
}

}  // namespace

std::optional<QString> FindResString(int id)
{
    const auto& t = Table();
    const auto it = t.constFind(id);
    if (it == t.constEnd()) return std::nullopt;
    return *it;
}

QString LoadResString(int id) { return FindResString(id).value_or(QString()); }
