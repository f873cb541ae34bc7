// The entry window holds photos until the first save and stores them with the
// listing in the save's transaction.
#include "listings/frm_Fylr.h"
#include "photos/PhotoStrip.h"
#include "tests/photos/PhotoFiles.h"
#include "tests/registers/RegisterTests.h"

// The entry window holds photos until the first save and stores them with it.
class TestPhotoEntry : public QObject, private EntryTest
{
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void storedWithTheFirstSave()
    {
        open(QStringLiteral("房源"));
        auto* s = w->findChild<PhotoStrip*>();
        QVERIFY(s && s->geometry().bottom() < w->height());
        QVERIFY(s->addFiles({db->dir() + "/none.jpg"}) == false);
        const QString a = db->dir() + "/a.jpg", b = db->dir() + "/b.jpg";
        photofiles::write(a, photofiles::jpeg(photofiles::halves(64, 48)));
        photofiles::write(b, photofiles::jpeg(photofiles::halves(48, 64)));
        QVERIFY(s->addFiles({a, b}));
        QCOMPARE(count("房屋照片"), 0);
        set("DBEdit1", QStringLiteral("阳光花园"));
        set("DBEdit2", QStringLiteral("人民路 12 号"));
        set("DBEdit3", "86.5");
        set("cbLC", QStringLiteral("中层"));
        set("cbHX", QStringLiteral("两室一厅"));
        set("DBEdit4", "450000");
        set("cbWZ", QStringLiteral("城东"));
        set("DBEdit5", QStringLiteral("王伟"));
        set("DBEdit6", "0101234567");
        set("DBEdit8", "430000");
        save(true);
        QCOMPARE(db->scalar("select count(*) from 房屋照片 where 档案号='001261209001' and 封面=1")
                     .toInt(),
                 1);
        QCOMPARE(count("房屋照片"), 2);
        QCOMPARE(s->count(), 0); // the next listing starts without photos
    }
};

HALVORRA_TEST_MAIN(TestPhotoEntry)
#include "tst_photo_entry.moc"
