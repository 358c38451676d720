#include "editor/teditiniform.h"

#include "kit/kitformat.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "ui_teditiniform.h"

TEditIniForm::TEditIniForm(BaseState &state, const Services &services, TBaseForm &baseForm, QWidget *parent)
    : QDialog(parent), m_state(state), m_services(services), m_baseForm(baseForm),
      m_ui(std::make_unique<Ui::TEditIniForm>())
{
    m_ui->setupUi(this);
    QPalette cream = palette();
    cream.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    setPalette(cream);
    setAutoFillBackground(true);
    m_services.boundary.run([this] { FormCreate(); });
}

TEditIniForm::~TEditIniForm() = default;

void TEditIniForm::FormCreate() { resize(550, 550); }

void TEditIniForm::FormActivate()
{
    const platform::IniFile kitFile(m_services.profiles, m_state.KitFileName);
    if (m_state.EditMode == 1) {
        const int song = m_state.SongNumber;
        const kit::SongKeys keys = kit::songKeys(song);
        const kit::SongDefaults defaults = kit::editorSongDefaults(song);
        m_state.SongCaption = kitFile.readString(m_state.SectionName, keys.caption, defaults.caption);
        m_state.IconFileName = kitFile.readString(m_state.SectionName, keys.icon, defaults.icon);
        setWindowTitle(m_state.KitFileName + QStringLiteral("  Song Button = ") + QString::number(song));
    } else if (m_state.EditMode == 2) {
        const int theme = m_state.TemaEditNumber;
        m_state.TemaCaption = kitFile.readString(kit::ThemeSection, kit::themeKeys(theme).caption,
                                                 kit::editorThemeDefaults(theme).caption);
        setWindowTitle(m_state.KitFileName + QStringLiteral("  Tema Button = ") + QString::number(theme));
    } else {
        setWindowTitle(m_state.KitFileName);
    }
    resize(550, 550);
}

void TEditIniForm::done(int result)
{
    m_state.EditMode = 1;
    QDialog::done(result);
}

void TEditIniForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_services.boundary.run([this] { FormActivate(); });
}
