// Photos as the operator meets them: the strip on the listing card (add several,
// a refused file, remove after a question, move, cover, caption, the viewer), the
// entry window storing photos with the first save, the query window's 照片 column
// and cover preview, and the listing sheet read back from its PDF.
#include "listings/Frm_LLFZ.h"
#include "listings/Frm_fycx.h"
#include "photos/ListingSheet.h"
#include "photos/PhotoPreview.h"
#include "photos/PhotoStrip.h"
#include "photos/PhotoViewer.h"
#include "tests/photos/PhotoFiles.h"
#include "tests/registers/RegisterTests.h"

#include <QCheckBox>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>

namespace
{

const QString kA = QStringLiteral("001261203001");
const QString kB = QStringLiteral("001261203002");

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPhotoWindows : public QObject, private QueryTest
{
    Q_OBJECT

    // Picture files in the test's folder.
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = db->dir() + QLatin1Char('/') + name;
        photofiles::write(path, bytes);
        return path;
    }
    QString picture(const QString& name, int w = 320, int h = 240)
    {
        return file(name, photofiles::jpeg(photofiles::halves(w, h, true)));
    }
    int photos(const QString& number)
    {
        return db
            ->scalar(QStringLiteral("select count(*) from 房屋照片 where 档案号='%1'").arg(number))
            .toInt();
    }
    void withListingCard(const QString& dah, const std::function<void(TFrmLLFZ*, PhotoStrip*)>& f)
    {
        withCard(w.get(), d, dah, [&](RecordCard* c) {
            auto* card = qobject_cast<TFrmLLFZ*>(c);
            f(card, card->findChild<PhotoStrip*>());
        });
    }

private slots:
    void init()
    {
        start(Roles::Senior);
        addListing(*db, {kA, "阳光花园", "东街1号", 80, 50, "有效", "261203", "5"});
        addListing(*db, {kB, "翠湖", "西路2号", 120, 90, "有效", "261203", "10"});
        open("房源")->rows().first();
    }
    void cleanup() { stop(); }

    void cardStrip()
    {
        withListingCard(kA, [&](TFrmLLFZ* card, PhotoStrip* s) {
            QVERIFY(s && s->isVisible());
            QVERIFY(s->geometry().bottom() < card->height());
            QVERIFY(s->btnAdd->isEnabled());
            // Several at once through the file dialog.
            d->files.push_back(picture("a.jpg") + '\n' + picture("b.jpg") + '\n' +
                               picture("c.jpg"));
            ui::click(s->btnAdd);
            QVERIFY(d->fileDialogs.last().several);
            QCOMPARE(s->shownCaptions(), (QStringList{"*", "", ""}));
            QCOMPARE(photos(kA), 3);
            QCOMPARE(w->rows().value(QStringLiteral("照片")).toInt(), 3);

            // One refused file: nothing added, its name in the message, the card works on.
            d->files.push_back(picture("d.jpg") + '\n' + file("notes.jpg", "hello"));
            ui::click(s->btnAdd);
            QVERIFY(d->last().contains("notes.jpg"));
            QCOMPARE(photos(kA), 3);
            QVERIFY(s->btnAdd->isEnabled());

            // Caption, move, cover.
            s->list()->setCurrentRow(2);
            d->execs.push_back([](QDialog* dlg) {
                ui::find<QLineEdit>(dlg, "edtCaption")->setText(QStringLiteral("户型图"));
                return int(QDialog::Accepted);
            });
            ui::click(s->btnCaption);
            ui::click(s->btnLeft);
            QCOMPARE(s->shownCaptions(), (QStringList{"*", "户型图", ""}));
            QCOMPARE(s->list()->currentRow(), 1);
            ui::click(s->btnCover);
            QCOMPARE(s->shownCaptions(), (QStringList{"", "*户型图", ""}));

            // Remove only after Yes.
            d->answers.push_back(false);
            ui::click(s->btnRemove);
            QCOMPARE(photos(kA), 3);
            d->answers.push_back(true);
            ui::click(s->btnRemove);
            QCOMPARE(photos(kA), 2);
            QCOMPARE(s->shownCaptions(), (QStringList{"*", ""}));

            // The viewer: a stored photo that no longer decodes shows the placeholder.
            db->exec(QStringLiteral("update 房屋照片 set 照片=X'0102030405' where 封面=0"));
            // What the viewer showed: index, previous available, fitted, size, after each step.
            QStringList seen;
            d->execs.push_back([&](QDialog* dlg) {
                auto* v = qobject_cast<TFrmPhotoViewer*>(dlg);
                v->show();
                const auto note = [&] {
                    seen << QStringLiteral("%1 %2 %3 %4 %5x%6")
                                .arg(v->current())
                                .arg(v->btnPrev->isEnabled())
                                .arg(v->btnNext->isEnabled())
                                .arg(v->fitted())
                                .arg(v->pictureSize().width())
                                .arg(v->pictureSize().height());
                };
                note();
                ui::click(v->btnFull);
                note();
                ui::click(v->btnNext);
                note(); // the second no longer decodes: the placeholder
                return int(QDialog::Accepted);
            });
            s->openViewer(0);
            QCOMPARE(seen, (QStringList{"0 0 1 1 320x240", "0 0 1 0 320x240", "1 1 0 0 400x300"}));
        });
        // The history shows the photos' events.
        QCOMPARE(db->scalar(QStringLiteral("select count(*) from 修改记录 where 操作='添加照片'"))
                     .toInt(),
                 3);
    }

    // Files dropped on the strip are added as through the file dialog; a strip that
    // may not change takes no drop; a drop without local files does nothing.
    void dropOnStrip_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("localFiles");
        QTest::addColumn<int>("added");
        QTest::newRow("two files") << false << true << 2;
        QTest::newRow("read-only result") << true << true << 0;
        QTest::newRow("a web address") << false << false << 0;
    }
    void dropOnStrip()
    {
        QFETCH(bool, readOnly);
        QFETCH(bool, localFiles);
        QFETCH(int, added);
        w->rows().setReadOnly(readOnly);
        const QList<QUrl> urls =
            localFiles ? QList<QUrl>{QUrl::fromLocalFile(picture("a.jpg")),
                                     QUrl::fromLocalFile(picture("b.jpg"))}
                       : QList<QUrl>{QUrl(QStringLiteral("https://example.com/a.jpg"))};
        bool entered = false;
        withListingCard(kA, [&](TFrmLLFZ*, PhotoStrip* s) {
            QMimeData data;
            data.setUrls(urls);
            const QPoint at = s->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s, &enter);
            entered = enter.isAccepted();
            if (!entered) return;
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s, &drop);
            QCOMPARE(s->shownCaptions().size(), added);
        });
        QCOMPARE(entered, !readOnly);
        QCOMPARE(photos(kA), added);
    }

    void readOnlyResultCannotChangePhotos()
    {
        w->rows().setReadOnly(true);
        withListingCard(kA, [&](TFrmLLFZ*, PhotoStrip* s) {
            QVERIFY(!s->btnAdd->isEnabled());
            QVERIFY(!s->addFiles({picture("x.jpg")}));
        });
        QCOMPARE(photos(kA), 0);
    }

    void queryColumnAndPreview()
    {
        auto* q = qobject_cast<TFrmFYCX*>(w.get());
        withListingCard(
            kB, [&](TFrmLLFZ*, PhotoStrip* s) { s->addFiles({picture("k.jpg", 400, 300)}); });
        ui::click(q->BitBtn5); // 速查 anew: the column comes from the stored photos
        QVERIFY(w->rows().locate(QStringLiteral("档案号"), kB));
        QCOMPARE(w->rows().value(QStringLiteral("照片")).toInt(), 1);
        QVERIFY(q->preview->showsCover());
        QVERIFY(!q->preview->pixmap().isNull());
        QVERIFY(w->rows().locate(QStringLiteral("档案号"), kA));
        QVERIFY(w->rows().value(QStringLiteral("照片")).isNull());
        QVERIFY(!q->preview->showsCover());
        q->preview->toggle()->setChecked(false);
        QVERIFY(q->preview->isHidden());
        QVERIFY(w->rows().locate(QStringLiteral("档案号"), kB));
        QVERIFY(!q->preview->showsCover()); // hidden: not read at all
        // The grid's own columns stay, 照片 after 最后跟进.
        const QList<GridColumn> cols = q->DBGridEh1->model()->columns();
        QCOMPARE(cols.last().field, QStringLiteral("照片"));
        QCOMPARE(cols[cols.size() - 2].field, QStringLiteral("最后跟进"));
    }

    void sheetPdf()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("poppler-utils missing");
        db->exec(QStringLiteral("delete from 公司信息"));
        db->exec(QStringLiteral("insert into 公司信息 (公司代码,公司名称,公司电话) values "
                                "('002','别家房产','0000'), ('001','安居房产','0571-8888')"));
        db->exec(QStringLiteral("update 房屋信息 set 电话='13912345678', 产权证号='QZ-778899', "
                                "备注='底价可谈' where 1=1"));
        withListingCard(kA, [&](TFrmLLFZ*, PhotoStrip* s) {
            QVERIFY(s->addFiles({picture("p1.jpg"), picture("p2.jpg"), picture("p3.jpg")}));
        });
        const QString pdf = db->dir() + QStringLiteral("/sheet.pdf");
        const int pages = ListingSheet::writePdf(
            pdf, dmbasic->adoCntnfybase, ListingSheet::office(dmbasic->adoCntnfybase, "001"),
            {kA, QStringLiteral("001261203099"), kB});
        QCOMPARE(pages, 2);
        const QString text = run("pdftotext", {"-layout", pdf, "-"});
        for (const QString& want :
             {kA, kB, QStringLiteral("安居房产"), QStringLiteral("0571-8888"),
              QStringLiteral("阳光花园"), QStringLiteral("东街1号"), QStringLiteral("80.00")})
            QVERIFY2(text.contains(want), qPrintable(want));
        for (const QString& never :
             {QStringLiteral("王房主"), QStringLiteral("13912345678"), QStringLiteral("QZ-778899"),
              QStringLiteral("底价可谈"), QStringLiteral("40.00")})
            QVERIFY2(!text.contains(never), qPrintable(never));
        // The cover large and two more on the first page; none on the second.
        const QStringList images =
            run("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(images.size(), 3);
        for (const QString& line : images)
            QCOMPARE(line.simplified().section(' ', 0, 0), QStringLiteral("1"));
    }

    void sheetFromQueryWindowAndCard()
    {
        auto* q = qobject_cast<TFrmFYCX*>(w.get());
        const QString pdf = db->dir() + QStringLiteral("/all.pdf");
        d->answers.push_back(true); // as PDF
        d->files.push_back(pdf);
        ui::click(q->btnFYD);
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(d->last().contains(QStringLiteral("2 页")));
        withListingCard(kB, [&](TFrmLLFZ* card, PhotoStrip*) {
            d->answers.push_back(true);
            d->files.push_back(db->dir() + QStringLiteral("/one"));
            ui::click(card->btnFYD);
            QVERIFY(d->last().contains(QStringLiteral("1 页")));
        });
        QVERIFY(QFileInfo::exists(db->dir() + QStringLiteral("/one.pdf")));
    }
};

HALVORRA_TEST_MAIN(TestPhotoWindows)
#include "tst_photo_windows.moc"
