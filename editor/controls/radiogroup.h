#pragma once
// TRadioGroup: a framed group of radio buttons with one selected item, laid
// out in a number of columns, as the pages use it for choices stored as an
// item index ("Alignment", "Uninstall error report").

#include <QGroupBox>
#include <QStringList>

#include <functional>

class QButtonGroup;
class QRadioButton;

namespace wharf {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent = nullptr);

    // The selected item, from 0; -1 when none is.
    int ItemIndex() const;
    // Selects item index (none for an index out of range) without firing
    // OnClick.
    void setItemIndex(int index);
    int count() const;
    QRadioButton *button(int index) const;

    // The author selected an item (by mouse or keyboard).
    std::function<void(TRadioGroup *sender)> OnClick;

private:
    QButtonGroup *m_buttons;
};

} // namespace wharf
