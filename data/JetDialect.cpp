#include "data/JetDialect.h"

#include <QList>

namespace
{

// The neutral form: tokens with the Jet-specific ones already resolved.
enum class Tok {
    Space,
    Ident,  // a bare word: keyword, column, table or alias
    Quoted, // an identifier in double quotes (from [name])
    String, // a literal; text holds the value, unquoted
    Number,
    Symbol,
    Concat,    // text joined to text
    IsNotNull, // <> null
    Like
};

struct Token {
    Tok kind;
    QString text;
    bool asText = false; // compared as a text: a number column's value, or a number
};

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() > 127;
}

QList<Token> tokenize(const QString& s)
{
    QList<Token> out;
    int i = 0;
    const int n = s.size();
    while (i < n) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            int j = i;
            while (j < n && s.at(j).isSpace())
                ++j;
            out.append({Tok::Space, s.mid(i, j - i)});
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A literal; the quote character doubled stands for itself.
            QString value;
            int j = i + 1;
            while (j < n) {
                if (s.at(j) == c) {
                    if (j + 1 < n && s.at(j + 1) == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += s.at(j++);
            }
            if (j < n) ++j; // closing quote; an unterminated literal runs to the end
            out.append({Tok::String, value});
            i = j;
        } else if (c == QLatin1Char('[')) {
            int j = s.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) j = n;
            out.append({Tok::Quoted, s.mid(i + 1, j - i - 1)});
            i = qMin(n, j + 1);
        } else if (c.isDigit()) {
            int j = i;
            while (j < n && (s.at(j).isDigit() || s.at(j) == QLatin1Char('.')))
                ++j;
            out.append({Tok::Number, s.mid(i, j - i)});
            i = j;
        } else if (isIdentChar(c)) {
            int j = i;
            while (j < n && (isIdentChar(s.at(j)) || s.at(j) == QLatin1Char('.')))
                ++j;
            out.append({Tok::Ident, s.mid(i, j - i)});
            i = j;
        } else {
            // Two-character operators stay together.
            if (i + 1 < n) {
                const QString two = s.mid(i, 2);
                if (two == QLatin1String("<>") || two == QLatin1String(">=") ||
                    two == QLatin1String("<=") || two == QLatin1String("!=") ||
                    two == QLatin1String("||")) {
                    out.append({Tok::Symbol, two});
                    i += 2;
                    continue;
                }
            }
            out.append({Tok::Symbol, QString(c)});
            ++i;
        }
    }
    return out;
}

int nextSignificant(const QList<Token>& t, int from)
{
    for (int k = from; k < t.size(); ++k)
        if (t[k].kind != Tok::Space) return k;
    return -1;
}

int prevSignificant(const QList<Token>& t, int from)
{
    for (int k = from; k >= 0; --k)
        if (t[k].kind != Tok::Space) return k;
    return -1;
}

bool isWord(const Token& t, const char* w)
{
    return t.kind == Tok::Ident && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

bool isComparison(const Token& t)
{
    static const QStringList ops = {"=", "<>", "!=", "<", ">", "<=", ">="};
    return t.kind == Tok::Symbol && ops.contains(t.text);
}

bool isNumber(const QString& s)
{
    bool ok = false;
    s.trimmed().toDouble(&ok);
    return ok;
}

class Neutral
{
public:
    Neutral(const QString& jet, const JetDialect::ColumnKind& kindOf)
        : t(tokenize(jet)), kindOf(kindOf)
    {
        resolve();
    }
    QList<Token> t;

private:
    const JetDialect::ColumnKind& kindOf;

    ColumnInfo::Type kind(int k) const
    {
        if (k < 0 || !kindOf) return ColumnInfo::Other;
        QString name;
        if (t[k].kind == Tok::Quoted) {
            name = t[k].text;
        } else if (t[k].kind == Tok::Ident) {
            name = t[k].text;
            const int dot = name.lastIndexOf(QLatin1Char('.'));
            if (dot >= 0) name = name.mid(dot + 1);
        } else {
            return ColumnInfo::Other;
        }
        return kindOf(name);
    }
    bool isTextOperand(int k) const
    {
        if (k < 0) return false;
        if (t[k].kind == Tok::String) return true;
        const ColumnInfo::Type c = kind(k);
        return c == ColumnInfo::Text || c == ColumnInfo::Memo;
    }

    void resolve()
    {
        QList<Token> out;
        out.reserve(t.size());
        for (int k = 0; k < t.size(); ++k) {
            const Token& tok = t[k];
            if (isWord(tok, "delete")) {
                const int star = nextSignificant(t, k + 1);
                if (star >= 0 && t[star].kind == Tok::Symbol &&
                    t[star].text == QLatin1String("*")) {
                    const int from = nextSignificant(t, star + 1);
                    if (from >= 0 && isWord(t[from], "from")) {
                        out.append(tok);
                        k = star; // drop the star; the blank before FROM follows
                        continue;
                    }
                }
            }
            if (tok.kind == Tok::Symbol &&
                (tok.text == QLatin1String("<>") || tok.text == QLatin1String("!="))) {
                const int nx = nextSignificant(t, k + 1);
                if (nx >= 0 && isWord(t[nx], "null")) {
                    out.append({Tok::IsNotNull, QString()});
                    k = nx;
                    continue;
                }
            }
            if (tok.kind == Tok::Symbol && tok.text == QLatin1String("+") &&
                (isTextOperand(prevSignificant(t, k - 1)) ||
                 isTextOperand(nextSignificant(t, k + 1)))) {
                out.append({Tok::Concat, tok.text});
                continue;
            }
            if (isWord(tok, "like")) {
                out.append({Tok::Like, tok.text});
                continue;
            }
            out.append(tok);
        }
        t = out;
        markTextComparisons();
    }

    // A number column against a text that is no number (or matched with like) is
    // compared as its text; a number against a text column as a text.
    void markTextComparisons()
    {
        for (int k = 0; k < t.size(); ++k) {
            const bool cmp = isComparison(t[k]);
            if (!cmp && t[k].kind != Tok::Like) continue;
            const int a = prevSignificant(t, k - 1), b = nextSignificant(t, k + 1);
            if (a < 0 || b < 0) continue;
            if (t[k].kind == Tok::Like) {
                if (kind(a) == ColumnInfo::Float) t[a].asText = true;
                continue;
            }
            for (auto [col, other] : {std::pair{a, b}, std::pair{b, a}}) {
                const ColumnInfo::Type c = kind(col);
                if (c == ColumnInfo::Float && t[other].kind == Tok::String &&
                    !isNumber(t[other].text))
                    t[col].asText = true;
                if ((c == ColumnInfo::Text || c == ColumnInfo::Memo) &&
                    t[other].kind == Tok::Number)
                    t[other].asText = true;
            }
        }
    }
};

// The last token of the pattern that follows a like at `like`: a literal, a name,
// a parenthesised group, or several of them joined with "+" or "||".
int patternEnd(const QList<Token>& t, int like)
{
    int k = nextSignificant(t, like + 1);
    if (k < 0) return -1;
    for (;;) {
        if (t[k].kind == Tok::Symbol && t[k].text == QLatin1String("(")) {
            int depth = 0;
            for (; k < t.size(); ++k) {
                if (t[k].kind != Tok::Symbol) continue;
                if (t[k].text == QLatin1String("(")) ++depth;
                if (t[k].text == QLatin1String(")") && --depth == 0) break;
            }
            if (k >= t.size()) return int(t.size()) - 1;
        }
        const int joint = nextSignificant(t, k + 1);
        if (joint < 0 || !(t[joint].kind == Tok::Concat ||
                           (t[joint].kind == Tok::Symbol && t[joint].text == QLatin1String("||"))))
            return k;
        const int next = nextSignificant(t, joint + 1);
        if (next < 0) return k;
        k = next;
    }
}

QString literal(QString value)
{
    value.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

} // namespace

namespace JetDialect
{

QString translate(const QString& jetSql, engine::Flavor flavor, const ColumnKind& kindOf)
{
    const Neutral n(jetSql, kindOf);
    const bool server = flavor == engine::Flavor::Postgres;
    // Where a pattern ends on the server: there it says that it has no escape
    // character, as like has none on the file, so a backslash is a backslash.
    QList<int> patternEnds;
    if (server)
        for (int k = 0; k < n.t.size(); ++k)
            if (n.t[k].kind == Tok::Like) patternEnds << patternEnd(n.t, k);
    QString out;
    out.reserve(jetSql.size() + 16);
    for (int k = 0; k < n.t.size(); ++k) {
        const Token& tok = n.t[k];
        switch (tok.kind) {
        case Tok::String:
            out += literal(tok.text);
            break;
        case Tok::Quoted:
            out += server && tok.asText
                       ? QStringLiteral("CAST(%1 AS text)").arg(Dialect::identifier(tok.text))
                       : Dialect::identifier(tok.text);
            break;
        case Tok::Concat:
            out += QLatin1String("||");
            break;
        case Tok::IsNotNull:
            out += QLatin1String(" IS NOT NULL");
            break;
        case Tok::Like:
            out += server ? QStringLiteral("ILIKE") : tok.text;
            break;
        case Tok::Ident:
            out +=
                server && tok.asText ? QStringLiteral("CAST(%1 AS text)").arg(tok.text) : tok.text;
            break;
        case Tok::Number:
            out += server && tok.asText ? literal(tok.text) : tok.text;
            break;
        default:
            out += tok.text;
        }
        for (int end : patternEnds)
            if (end == k) out += QLatin1String(" ESCAPE ''");
    }
    return out;
}

} // namespace JetDialect
