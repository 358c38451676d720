#pragma once

#include "app/services.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class TZastForm;
}
struct Services;

/** The splash screen: a picture shown modally after start-up that closes itself. */
class TZastForm : public QDialog
{
    Q_OBJECT

public:
    /** Creating the splash runs its creation handler and starts Timer1. */
    explicit TZastForm(const Services &services, QWidget *parent = nullptr);
    ~TZastForm() override;

    QTimer &Timer1() { return m_timer1; }

    void FormCreate();
    void Timer1Timer();
    void BitBtn1Click();

private:
    Services m_services;
    std::unique_ptr<Ui::TZastForm> m_ui;
    QTimer m_timer1;
};
