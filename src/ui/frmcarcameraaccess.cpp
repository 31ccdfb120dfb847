// The main window's keyboard focus order and the names screen readers speak.

#include "frmcarcamera.h"

#include "picturebox.h"
#include "slidervalues.h"
#include "valuelabel.h"

#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

void frmCarCamera::setAccessibleNames()
{
    for (int i = 0; i < SliderCount; ++i) {
        m_widgets.HScrollCam[i]->setAccessibleName(valueAccessibleName(i));
        m_widgets.lblCameraValues[i]->setAccessibleName(
            displayAccessibleName(i, m_widgets.lblCameraValues[i]->text()));
    }
    m_widgets.Picture1->setAccessibleName(QStringLiteral("Top view"));
    m_widgets.Picture2->setAccessibleName(QStringLiteral("Side view"));
    m_widgets.Picture3->setAccessibleName(QStringLiteral("Front view"));
    // Other labels and buttons are spoken by their current caption.
}

void frmCarCamera::setFocusOrder()
{
    const EditorWidgets &w = m_widgets;
    const std::array<QWidget *, 25> order = {w.OptCameraNumber[0],
                                             w.OptCameraNumber[1],
                                             w.OptCameraNumber[2],
                                             w.OptCameraNumber[3],
                                             w.OptCameraNumber[4],
                                             w.OptCameraNumber[5],
                                             m_cmdLoadCCamFile,
                                             w.cmdeditApply,
                                             w.cmdEditCancel,
                                             w.HScrollCam[2],
                                             w.HScrollCam[3],
                                             w.HScrollCam[4],
                                             w.HScrollCam[5],
                                             w.HScrollCam[8],
                                             w.cmdsaveCameraFile,
                                             w.HScrollCam[6],
                                             w.HScrollCam[0],
                                             w.HScrollCam[7],
                                             w.HScrollCam[1],
                                             m_cmdMakeCamFile,
                                             w.cmdCopyCam,
                                             w.cmdPaste,
                                             w.Picture1,
                                             w.Picture2,
                                             w.Picture3};
    // From the last view the focus goes round to the camera options by itself.
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}
