#pragma once
// The row of thumbnails under a listing: add (file dialog, several at once, or
// files dropped on it), remove after a question, move left and right, set as cover,
// caption; a double click opens the viewer.
//
// On the record card it shows the photos stored with the query window's current
// listing and changes them at once. On the entry window, before the listing's
// first save, it holds the photos in memory; the save stores them with the
// listing in its own transaction (takePending).
#include "photos/core/PhotoStore.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QDialog;
class QListWidget;
class QPushButton;

class PhotoStrip : public QWidget
{
    Q_OBJECT
public:
    explicit PhotoStrip(QWidget* parent);
    // A strip under everything `window` shows, as wide as its panel `panel`; the
    // window grows by the strip's height (a fixed-size window stays fixed) and the
    // strip's controls follow `after` in tab order (with `after` empty they are
    // reached by mouse only, and the window's tab cycle stays as it is).
    static PhotoStrip* placeBelow(QDialog* window, const QWidget* panel, const QString& after);

    // Shows and changes the photos of `rows`' current listing; `mayChange` says
    // whether the operator may change that listing.
    void follow(Query* rows, std::function<bool()> mayChange);
    // Holds new photos in memory until the listing's first save.
    void holdUntilSaved();
    // The photos held for a listing not yet saved (holdUntilSaved), in order with
    // their captions; the save stores them with Photos::add.
    const QList<Photos::NewPhoto>& pending() const { return m_pending; }
    void clearPending();

    // Adds the pictures of these files: every file is checked and prepared first;
    // when one is refused nothing is added and a message names each refused file.
    // True when they were added.
    bool addFiles(const QStringList& paths);

    // Handlers.
    void btnAddClick();
    void btnRemoveClick();
    void btnLeftClick();
    void btnRightClick();
    void btnCoverClick();
    void btnCaptionClick();
    void openViewer(int index);

    QListWidget* list() const { return m_list; }
    int count() const;
    // What the strip shows, one entry a photo: "*" before the cover, then the caption.
    QStringList shownCaptions() const;
    QPushButton *btnAdd, *btnRemove, *btnLeft, *btnRight, *btnCover, *btnCaption;

signals:
    // The photos were added, removed or changed.
    void changed();

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void reload();
    void fill();
    void updateButtons();
    int selected() const;
    void move(int by);
    void select(int index);
    Connection* connection() const;
    QString number() const;
    bool stored() const { return !m_holding; }
    bool editable() const;

    QPointer<Query> m_rows;
    std::function<bool()> m_mayChange;
    bool m_holding = false;
    QList<Photos::Photo> m_photos;     // stored photos shown
    QList<Photos::NewPhoto> m_pending; // held photos shown
    QListWidget* m_list;
};
