#pragma once

#include "app/services.h"

#include <QDialog>
#include <QTimer>
#include <memory>

namespace Ui {
class TAboutForm;
}
class QLabel;

/**
 * The About box: what the program is, and the computer it runs on. Created once and shown
 * modally; each showing reads the system information afresh. TimerFlesh runs from creation to
 * the end of the run, also while the box is hidden.
 */
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutForm(const Services &services, QWidget *parent = nullptr);
    ~TAboutForm() override;

    /** The contact address and the web site the two links open. */
    static QString mailTarget();
    static QString webTarget();

    void FormShow();
    void FormActivate();
    void GetMemoryInfo();
    void GetCompInfo();
    void GetInfo();
    void BitBtnCloseClick();
    void SpeedButtonMoreClick();
    void LabelLoginMouseMove();
    void LabelLoginMouseLeave();
    void LabelLoginClick();
    void LabelHTTPMouseMove();
    void LabelHTTPMouseLeave();
    void LabelHTTPClick();
    void TimerFleshTimer();

    QTimer &TimerFlesh() { return m_timerFlesh; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void driveValues();
    void linkHover(QLabel *link);
    void linkClick(QLabel *link, const QString &target);
    QString registryValue(const QString &key, const QString &name) const;

    Services m_services;
    std::unique_ptr<Ui::TAboutForm> m_ui;
    QTimer m_timerFlesh;
};
