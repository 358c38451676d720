#include "platform/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>

namespace platform {

namespace {

QWidget *activeParent() { return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow(); }

QString kindTitle(MessageKind kind, const QString &applicationTitle)
{
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Plain:
        break;
    }
    return applicationTitle;
}

QMessageBox::Icon kindIcon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

// "desc|pattern" pairs as Qt's "desc (pattern)" filters; Windows separates patterns with ';'.
QStringList qtFilters(const QString &filter)
{
    QStringList filters;
    for (const auto &[description, pattern] : Dialogs::filterPairs(filter)) {
        QString patterns = pattern;
        patterns.replace(u';', u' ');
        filters.append(QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns.trimmed()));
    }
    return filters;
}

} // namespace

QtDialogs::QtDialogs(const WinPath &paths, QString applicationTitle)
    : m_paths(paths), m_title(std::move(applicationTitle))
{
}

MessageAnswer QtDialogs::message(MessageKind kind, const QString &text, MessageButtons buttons)
{
    QMessageBox box(kindIcon(kind), kindTitle(kind, m_title), text,
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    activeParent());
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<QString> QtDialogs::openFile(const FileDialogOptions &options)
{
    return runFileDialog(options, false);
}

std::optional<QString> QtDialogs::openPicture(const FileDialogOptions &options)
{
    return runFileDialog(options, true);
}

std::optional<QString> QtDialogs::runFileDialog(const FileDialogOptions &options, bool withPreview)
{
    QFileDialog dialog(activeParent());
    dialog.setOption(QFileDialog::DontUseNativeDialog, withPreview);
    // Windows' open dialog accepts a typed name of a file that does not exist.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(qtFilters(options.filter));

    QString folder = options.initialFolder.isEmpty() ? QString() : m_paths.toHost(options.initialFolder);
    QString preset;
    if (!options.fileName.isEmpty()) {
        const QString presetHost = m_paths.toHost(options.fileName);
        if (folder.isEmpty() || !QDir(folder).exists())
            folder = QFileInfo(presetHost).absolutePath();
        preset = QFileInfo(presetHost).fileName();
    }
    if (!folder.isEmpty() && QDir(folder).exists())
        dialog.setDirectory(folder);
    if (!preset.isEmpty())
        dialog.selectFile(preset);

    QLabel *preview = nullptr;
    if (withPreview) {
        if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout())) {
            preview = new QLabel(&dialog);
            preview->setFixedSize(160, 160);
            preview->setAlignment(Qt::AlignCenter);
            preview->setFrameShape(QFrame::StyledPanel);
            grid->addWidget(preview, 1, grid->columnCount(), Qt::AlignTop);
            QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString &path) {
                const QPixmap picture(path);
                preview->setPixmap(picture.isNull() ? QPixmap()
                                                    : picture.scaled(preview->size(), Qt::KeepAspectRatio,
                                                                     Qt::SmoothTransformation));
            });
        }
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return m_paths.toWindows(dialog.selectedFiles().constFirst());
}

void QtDialogs::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, m_title, text, QMessageBox::Ok, activeParent());
    box.exec();
}

} // namespace platform
