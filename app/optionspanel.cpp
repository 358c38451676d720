// The options panel opens and closes with its button; opening it shows the current disk's figures.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "platform/speedbutton/speedbutton.h"
#include "platform/sysinfo/systeminfo.h"
#include "ui_tbaseform.h"

void TBaseForm::SpeedButtonOptionClick()
{
    if (!m_ui->SpeedButtonOption->isDown()) {
        m_ui->GroupBoxOption->hide();
        return;
    }
    m_ui->GroupBoxOption->show();
    // The drive of the current folder, which a file dialog may have changed; -1 when the query fails.
    const platform::DiskSpace disk = m_services.system.currentDriveSpace();
    setCaption(m_ui->LabelDiskSize, QStringLiteral("Size  hard  disc = ") + gigabytesText(disk.totalBytes));
    setCaption(m_ui->LabelDiskFree, QStringLiteral("Free disc spase = ") + gigabytesText(disk.freeBytes));
}
