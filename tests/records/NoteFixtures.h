#pragma once
// A follow-up note built field by field, as the follow-up and to-do tests write them.
#include "records/core/FollowUps.h"

namespace notefixtures
{

inline FollowUps::Note note(const QString& table, const QString& number, const QString& kind,
                            const QString& text, const QString& customer = {})
{
    FollowUps::Note n;
    n.table = table;
    n.number = number;
    n.kind = kind;
    n.text = text;
    n.customer = customer;
    return n;
}

} // namespace notefixtures
