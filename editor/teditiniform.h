#pragma once

#include "app/basestate.h"
#include "app/services.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TEditIniForm;
}
class TBaseForm;

/**
 * The button editor: the modal dialog that edits one song or theme button of the kit, or names
 * a new kit, as the shared EditMode says. Every opening reloads its controls from the kit.
 */
class TEditIniForm : public QDialog
{
    Q_OBJECT

public:
    TEditIniForm(BaseState &state, const Services &services, TBaseForm &baseForm, QWidget *parent = nullptr);
    ~TEditIniForm() override;

    void FormCreate();
    void FormActivate();

    /** However the dialog closes, the editor rests in song mode afterwards. */
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    BaseState &m_state;
    Services m_services;
    TBaseForm &m_baseForm;
    std::unique_ptr<Ui::TEditIniForm> m_ui;
};
