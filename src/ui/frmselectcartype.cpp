#include "frmselectcartype.h"

#include "optionbutton.h"
#include "windowlayout.h"
#include "windowplaces.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

using WindowLayout::place;
using WindowLayout::px;
namespace Places = CarTypeDialogPlaces;

} // namespace

frmSelectCarType::frmSelectCarType(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelectCarType"));
    setWindowTitle(QStringLiteral("Select Car Type"));
    // A sizeable window with close, minimize and maximize boxes; the controls keep
    // their places when it is resized.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(WindowLayout::applicationIcon());
    setFont(WindowLayout::dialogFont());
    resize(px(Places::ClientWidth), px(Places::ClientHeight));

    const DefaultTable defaults = SetupDefaults();
    m_group = new QButtonGroup(this);
    for (int i = 0; i < CarTypeCount; ++i) {
        auto *option = new OptionButton(defaults.MakeName(i), this);
        option->setObjectName(QStringLiteral("optCarType(%1)").arg(i));
        option->setGeometry(place(Places::optCarType(i)));
        option->installEventFilter(this);
        m_group->addButton(option, i);
        m_optCarType[i] = option;
    }

    m_cmdCarOk = new QPushButton(QStringLiteral("&Ok"), this);
    m_cmdCarOk->setObjectName(QStringLiteral("cmdCarOk"));
    m_cmdCarOk->setGeometry(place(Places::cmdCarOk));
    // Enter presses OK when it has the focus.
    m_cmdCarOk->setAutoDefault(true);

    for (int i = 1; i < CarTypeCount; ++i)
        setTabOrder(m_optCarType[i - 1], m_optCarType[i]);
    setTabOrder(m_optCarType[CarTypeCount - 1], m_cmdCarOk);
    m_optCarType[0]->setFocus(Qt::OtherFocusReason);

    // An option picked by mouse, Space or the arrow keys counts as its click.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            optCarType_Click(id);
    });
    connect(m_cmdCarOk, &QPushButton::clicked, this, &frmSelectCarType::cmdCarOk_Click);
}

void frmSelectCarType::optCarType_Click(int index)
{
    m_carChoice = static_cast<qint16>(index);
}

void frmSelectCarType::cmdCarOk_Click()
{
    accept();
}

bool frmSelectCarType::eventFilter(QObject *watched, QEvent *event)
{
    // The arrow keys move the selection around the option column, wrapping at its
    // ends, also when no option has been picked yet.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        int step = 0;
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Right)
                step = 1;
            else if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Left)
                step = -1;
        }
        const int current = m_group->id(qobject_cast<QAbstractButton *>(watched));
        if (step != 0 && current >= 0) {
            QRadioButton *next = m_optCarType[(current + step + CarTypeCount) % CarTypeCount];
            next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            next->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
