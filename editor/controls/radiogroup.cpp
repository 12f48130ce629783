#include "radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

namespace wharf {

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(caption, parent), m_buttons(new QButtonGroup(this))
{
    auto *layout = new QGridLayout(this);
    const int perColumn = static_cast<int>((items.size() + columns - 1) / std::max(1, columns));
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), this);
        m_buttons->addButton(button, i);
        layout->addWidget(button, perColumn > 0 ? i % perColumn : 0, perColumn > 0 ? i / perColumn : 0);
    }
    // clicked comes only from the author, never from setItemIndex.
    connect(m_buttons, &QButtonGroup::idClicked, this, [this] {
        if (OnClick)
            OnClick(this);
    });
}

int TRadioGroup::ItemIndex() const { return m_buttons->checkedId(); }

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *chosen = m_buttons->button(index)) {
        chosen->setChecked(true);
        return;
    }
    // A button group with exclusive buttons can't uncheck its last one.
    m_buttons->setExclusive(false);
    for (QAbstractButton *b : m_buttons->buttons())
        b->setChecked(false);
    m_buttons->setExclusive(true);
}

int TRadioGroup::count() const { return static_cast<int>(m_buttons->buttons().size()); }

QRadioButton *TRadioGroup::button(int index) const
{
    return qobject_cast<QRadioButton *>(m_buttons->button(index));
}

} // namespace wharf
