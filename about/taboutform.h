#pragma once

#include "app/services.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutForm;
}

/** The About box: what the program is, and the computer it runs on. */
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutForm(const Services &services, QWidget *parent = nullptr);
    ~TAboutForm() override;

private:
    Services m_services;
    std::unique_ptr<Ui::TAboutForm> m_ui;
};
