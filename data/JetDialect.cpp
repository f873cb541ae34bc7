#include "data/JetDialect.h"

#include <QList>

namespace
{

enum class Tok { Space, Ident, Number, String, Symbol };

struct Token {
    Tok kind;
    QString text;
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
            QString lit = value;
            lit.replace(QLatin1Char('\''), QLatin1String("''"));
            out.append({Tok::String, QLatin1Char('\'') + lit + QLatin1Char('\'')});
            i = j;
        } else if (c == QLatin1Char('[')) {
            int j = s.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) j = n;
            QString name = s.mid(i + 1, j - i - 1);
            name.replace(QLatin1Char('"'), QLatin1String("\"\""));
            out.append({Tok::Ident, QLatin1Char('"') + name + QLatin1Char('"')});
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

} // namespace

namespace JetDialect
{

QString translate(const QString& jetSql, const TextColumnTest& isTextColumn)
{
    QList<Token> t = tokenize(jetSql);
    auto isTextOperand = [&](int k) {
        if (k < 0) return false;
        if (t[k].kind == Tok::String) return true;
        if (t[k].kind == Tok::Ident && isTextColumn) {
            QString name = t[k].text;
            const int dot = name.lastIndexOf(QLatin1Char('.'));
            if (dot >= 0) name = name.mid(dot + 1);
            if (name.startsWith(QLatin1Char('"'))) name = name.mid(1, name.size() - 2);
            return isTextColumn(name);
        }
        return false;
    };

    QString out;
    out.reserve(jetSql.size() + 16);
    for (int k = 0; k < t.size(); ++k) {
        const Token& tok = t[k];
        if (isWord(tok, "delete")) {
            const int star = nextSignificant(t, k + 1);
            if (star >= 0 && t[star].kind == Tok::Symbol && t[star].text == QLatin1String("*")) {
                const int from = nextSignificant(t, star + 1);
                if (from >= 0 && isWord(t[from], "from")) {
                    out += tok.text;
                    k = star; // drop the star; the blank before FROM follows
                    continue;
                }
            }
        }
        if (tok.kind == Tok::Symbol &&
            (tok.text == QLatin1String("<>") || tok.text == QLatin1String("!="))) {
            const int nx = nextSignificant(t, k + 1);
            if (nx >= 0 && isWord(t[nx], "null")) {
                out += QLatin1String(" IS NOT NULL");
                k = nx;
                continue;
            }
        }
        if (tok.kind == Tok::Symbol && tok.text == QLatin1String("+")) {
            if (isTextOperand(prevSignificant(t, k - 1)) ||
                isTextOperand(nextSignificant(t, k + 1))) {
                out += QLatin1String("||");
                continue;
            }
        }
        out += tok.text;
    }
    return out;
}

} // namespace JetDialect
