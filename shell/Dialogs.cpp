#include "shell/Dialogs.h"

#include "shell/DesktopOpen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QVBoxLayout>

namespace
{

std::unique_ptr<Dialogs>& slot()
{
    static std::unique_ptr<Dialogs> d;
    return d;
}

QWidget* parentOr(QWidget* p)
{
    return p ? p : QApplication::activeWindow();
}

int box(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox mb(QMessageBox::NoIcon, messageCaption(), text, buttons, parentOr(parent));
    return mb.exec();
}

} // namespace

QString qtFileFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(
            parts[i], parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' ')));
    return out.join(QLatin1String(";;"));
}

Dialogs& Dialogs::instance()
{
    auto& d = slot();
    if (!d) d = std::make_unique<SystemDialogs>();
    return *d;
}

std::unique_ptr<Dialogs> Dialogs::install(std::unique_ptr<Dialogs> d)
{
    auto old = std::move(slot());
    slot() = std::move(d);
    return old;
}

void SystemDialogs::message(QWidget* parent, const QString& text)
{
    box(parent, text, QMessageBox::Ok);
}

bool SystemDialogs::question(QWidget* parent, const QString& text)
{
    return box(parent, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool SystemDialogs::okCancel(QWidget* parent, const QString& text)
{
    return box(parent, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void SystemDialogs::error(QWidget* parent, const QString& text)
{
    box(parent, text, QMessageBox::Ok);
}

void SystemDialogs::hint(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox mb(QMessageBox::Question, caption, text, QMessageBox::Ok, parentOr(parent));
    mb.exec();
}

QString SystemDialogs::openFile(QWidget* parent, const FileDialogSpec& spec,
                                const QString& startPath)
{
    QFileDialog dlg(parentOr(parent), QString(), startPath, qtFileFilter(spec.filter));
    dlg.setFileMode(spec.several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (spec.picture) {
        // A preview pane beside the file list shows the picture under the cursor.
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        auto* preview = new QLabel(&dlg);
        preview->setMinimumSize(200, 200);
        preview->setAlignment(Qt::AlignCenter);
        preview->setFrameShape(QFrame::StyledPanel);
        if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout())) grid->addWidget(preview, 1, 3);
        QObject::connect(&dlg, &QFileDialog::currentChanged, preview, [preview](const QString& f) {
            QPixmap pm(f);
            preview->setPixmap(pm.isNull() ? QPixmap()
                                           : pm.scaled(preview->size(), Qt::KeepAspectRatio,
                                                       Qt::SmoothTransformation));
        });
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    if (spec.several) {
        QStringList chosen;
        for (const QString& f : dlg.selectedFiles())
            chosen << QDir::toNativeSeparators(f);
        return chosen.join(QLatin1Char('\n'));
    }
    return QDir::toNativeSeparators(dlg.selectedFiles().first());
}

QString SystemDialogs::saveFile(QWidget* parent, const FileDialogSpec& spec,
                                const QString& startPath)
{
    QFileDialog dlg(parentOr(parent), QString(), startPath, qtFileFilter(spec.filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    // The caller decides about existing files (the backup never overwrites).
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dlg.selectedFiles().first());
}

int SystemDialogs::exec(QDialog* dialog)
{
    return dialog->exec();
}

bool SystemDialogs::openPath(const QString& path, const QString& workingDir)
{
    QFileInfo fi(path);
    const QString full =
        fi.isAbsolute() || workingDir.isEmpty() ? path : QDir(workingDir).filePath(path);
    return openWithDesktop(full, workingDir);
}

void SystemDialogs::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
