// The settings file pelcor.ini (window colour, last kit, the text-pane option), the window's
// colour bars and the options panel's own buttons.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "kit/kitformat.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/speedbutton/speedbutton.h"
#include "platform/winpath.h"
#include "ui_tbaseform.h"

namespace {

const QString settingsFile = QStringLiteral("pelcor.ini");

// A stored component above 255 is taken as 255, a negative one as 0.
quint8 component(int stored) { return quint8(std::clamp(stored, 0, 255)); }

} // namespace

void TBaseForm::ReadSettings()
{
    const platform::IniFile settings(m_services.profiles, settingsFile);
    m_state.FormRed = component(settings.readInteger(u"COLORS", u"Red", 1));
    m_state.FormGreen = component(settings.readInteger(u"COLORS", u"Green", 2));
    m_state.FormBlue = component(settings.readInteger(u"COLORS", u"Blue", 3));
    m_state.KitFileName = settings.readString(u"LastUserFile", u"NameFile", kit::folders::DefaultKit);
    // Anything but exactly "ON" unticks the box, whose change handler writes OFF at once.
    const bool on = settings.readString(u"OptionS", u"CheckBoxNoTxt", QStringLiteral("-")) == QStringLiteral("ON");
    m_services.boundary.fire([&] { m_ui->CheckBoxNoTxt->setChecked(on); });
}

void TBaseForm::ApplyColour()
{
    applyFormColour();
    m_services.boundary.fire([&] { m_ui->ScrollBarRed->setValue(m_state.FormRed); });
    m_services.boundary.fire([&] { m_ui->ScrollBarGreen->setValue(m_state.FormGreen); });
    m_services.boundary.fire([&] { m_ui->ScrollBarBlue->setValue(m_state.FormBlue); });
}

void TBaseForm::WriteSettings()
{
    const platform::IniFile settings(m_services.profiles, settingsFile);
    settings.writeInteger(u"COLORS", u"Red", m_state.FormRed);
    settings.writeInteger(u"COLORS", u"Green", m_state.FormGreen);
    settings.writeInteger(u"COLORS", u"Blue", m_state.FormBlue);
    if (m_services.paths.fileExists(m_state.KitFileName))
        settings.writeString(u"LastUserFile", u"NameFile", m_state.KitFileName);
    else
        setStatus(QStringLiteral("No User File ! "));
}

void TBaseForm::applyFormColour()
{
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, QColor(m_state.FormRed, m_state.FormGreen, m_state.FormBlue));
    setPalette(windowPalette);
}

void TBaseForm::ScrollBarRedChange()
{
    m_state.FormRed = quint8(m_ui->ScrollBarRed->value());
    applyFormColour();
}

void TBaseForm::ScrollBarGreenChange()
{
    m_state.FormGreen = quint8(m_ui->ScrollBarGreen->value());
    applyFormColour();
}

void TBaseForm::ScrollBarBlueChange()
{
    m_state.FormBlue = quint8(m_ui->ScrollBarBlue->value());
    applyFormColour();
}

void TBaseForm::CheckBoxButtonBeginClick()
{
    m_ui->SpeedButtonBegin->setVisible(m_ui->CheckBoxButtonBegin->isChecked());
}

QString TBaseForm::gigabytesText(qint64 bytes)
{
    // Whole gigabytes and the remainder as two plain numbers, both truncated toward zero.
    return QString::number(bytes / 1000000000) + QStringLiteral(", ") + QString::number(bytes % 1000000000) +
           QStringLiteral(" Gb");
}
