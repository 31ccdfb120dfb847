#pragma once

#include "moddefaultvariablesetup.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QPushButton;
class QRadioButton;

// The car type dialog of the new-file command: seven car makes and OK. OK accepts
// with CarChoice(), the make last picked (Brabham when none was picked); closing the
// window any other way rejects it.
class frmSelectCarType : public QDialog
{
    Q_OBJECT

public:
    explicit frmSelectCarType(QWidget *parent = nullptr);

    qint16 CarChoice() const { return m_carChoice; }

    QRadioButton *optCarType(int index) const { return m_optCarType[index]; }
    QPushButton *cmdCarOk() const { return m_cmdCarOk; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void optCarType_Click(int index);
    void cmdCarOk_Click();

    std::array<QRadioButton *, CarTypeCount> m_optCarType{};
    QButtonGroup *m_group = nullptr;
    QPushButton *m_cmdCarOk = nullptr;
    qint16 m_carChoice = 0;
};
