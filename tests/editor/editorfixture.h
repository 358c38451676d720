#pragma once

#include "editor/teditiniform.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QTest>
#include <QTimer>
#include <functional>

/**
 * The program started on a temporary drive, with the button editor opened as the user opens it
 * (a right click, the new-file button) and driven from inside its modal loop.
 */
class EditorFixture : public ProgramFixture
{
public:
    static inline const QString KitPath = QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk");

    TEditIniForm &editor() { return program->EditIniForm; }

    /** The editor's control of that name. */
    template <typename Control> Control *control(const char *name)
    {
        return editor().findChild<Control *>(QLatin1String(name));
    }

    /** The main window's control of that name, not the editor's own of the same name. */
    template <typename Control> Control *mainControl(const char *name)
    {
        for (Control *found : base().findChildren<Control *>(QLatin1String(name))) {
            if (found->window() == &base())
                return found;
        }
        return nullptr;
    }

    /**
     * Runs `steps` once the editor the next call opens is on screen. Whether the steps left it
     * open is kept in `leftOpen`; the editor is then closed, so that a failed step cannot leave
     * the modal loop running.
     */
    void whileOpen(std::function<void()> steps)
    {
        leftOpen = false;
        QTimer::singleShot(0, &editor(), [this, steps] {
            steps();
            leftOpen = editor().isVisible();
            if (leftOpen)
                editor().reject();
        });
    }

    void rightClickSong(int song) { rightClick(base().SpeedButtonSong(song)); }
    void rightClickTheme(int theme) { rightClick(base().SpeedButtonTema(theme)); }
    void clickNewFile()
    {
        QTest::mouseClick(mainControl<platform::SpeedButton>("SpeedButtonNewFile"), Qt::LeftButton);
    }

    /** A click on one of the editor's buttons, as the user gives it. */
    void click(const char *name)
    {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }

    /** Types `text` into a field key by key, each key pressed and released, Cyrillic too. */
    static void type(QWidget *field, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    /** A key of the current kit, or "<absent>". */
    QString kitValue(const QString &section, const QString &key, const QString &kitPath = KitPath)
    {
        return platform::IniFile(profiles, kitPath)
            .readString(section, key, QStringLiteral("<absent>"));
    }

    bool leftOpen = false;

private:
    void rightClick(QWidget *button)
    {
        QTest::mousePress(button, Qt::RightButton);
        QTest::mouseRelease(button, Qt::RightButton);
    }
};
