#include "about/taboutform.h"

#include "ui_taboutform.h"

TAboutForm::TAboutForm(const Services &services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_services(services),
      m_ui(std::make_unique<Ui::TAboutForm>())
{
    m_ui->setupUi(this);
    QPalette skyBlue = palette();
    skyBlue.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));
    setPalette(skyBlue);
    setAutoFillBackground(true);
}

TAboutForm::~TAboutForm() = default;
