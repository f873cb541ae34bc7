#pragma once
// 房源单: one A4 page per listing to hand to a customer or pin in the shop window.
// The office's name and telephone (公司信息, kept under 公司档案), the archive number, the cover
// photo large and up to four more, and the listing's public values only: never the owner's name or
// telephones, the lowest price, the certificate number, the remarks or the viewing notes.
#include "data/Connection.h"

#include <QStringList>
#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace ListingSheet
{

// The columns a sheet shows, with their captions, in order.
struct Field {
    QString column, caption;
};
const QList<Field>& publicFields();

struct Office {
    QString name, phone;
};
// The office of `company` in 公司信息 (the first row when none has that code).
Office office(Connection& c, const QString& company);

// Called after each page with the pages done; false stops the run.
using Progress = std::function<bool(int done)>;

// Paints one page per listing (a number no longer stored is passed over) and
// returns the pages painted. Pictures are read one listing at a time.
int paint(QPagedPaintDevice* device, Connection& c, const Office& office,
          const QStringList& numbers, const Progress& progress = {});
// The same into a new PDF file; the pages written.
int writePdf(const QString& path, Connection& c, const Office& office, const QStringList& numbers,
             const Progress& progress = {});
// The print preview (page set-up and printer from there), through dialogs().
void preview(QWidget* parent, Connection& c, const Office& office, const QStringList& numbers,
             const Progress& progress = {});

} // namespace ListingSheet
