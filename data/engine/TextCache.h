#pragma once
// The texts of one result column as a row set reads them: a value met before is
// handed out again (shared, neither decoded nor stored a second time). Most
// columns of a register hold a few values many times over (floor, house type,
// mode, validity, date); one that turns out to hold many different values is
// decoded plainly from then on.
#include <QString>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine
{

class TextCache
{
public:
    QString get(const char* p, int len)
    {
        if (m_many) return QString::fromUtf8(p, len);
        const std::string_view key(p, size_t(len));
        const auto it = m_seen.find(key);
        if (it != m_seen.end()) return it->second;
        QString s = QString::fromUtf8(p, len);
        if (m_keys.size() >= kMostValues) {
            m_many = true;
            m_seen.clear();
            m_keys.clear();
            return s;
        }
        m_keys.emplace_back(key);
        m_seen.emplace(std::string_view(m_keys.back()), s);
        return s;
    }

private:
    static constexpr size_t kMostValues = 512;
    bool m_many = false;
    std::deque<std::string> m_keys; // owns the bytes the map's keys point into
    std::unordered_map<std::string_view, QString> m_seen;
};

} // namespace engine
