#pragma once
// TPanelStatusBar: a status bar of fixed-width panels that also hosts child
// controls on its panels (the editor puts a progress bar and a memory gauge
// there). Panels are laid out from the left with their widths; the last
// panel takes the rest of the bar. A width is a minimum: a panel widens to
// the widest text it has been given in the bar's font (and stays that wide
// until its width is set again), so its text is never cut. A hosted control fills its panel's inner
// rectangle and follows it when the bar is resized.

#include <QPointer>
#include <QStatusBar>
#include <QString>
#include <QVector>

namespace wharf {

class TPanelStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TPanelStatusBar(QWidget *parent = nullptr);

    // Appends a panel; returns its index.
    int addPanel(int width, Qt::Alignment alignment = Qt::AlignLeft);
    int panelCount() const { return static_cast<int>(m_panels.size()); }

    // The width given to the panel (its minimum).
    int panelWidth(int index) const;
    void setPanelWidth(int index, int width);
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

    // The panel's rectangle in the bar's coordinates (empty for a bad
    // index), widened to its text.
    QRect panelRect(int index) const;

    // Makes control a child of the bar sitting on panel index; the bar keeps
    // its geometry in step. A control hosted again moves to the new panel.
    void hostControl(QWidget *control, int index);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Panel {
        int width = 50;
        int fitted = 0; // the room its widest text needs
        Qt::Alignment alignment = Qt::AlignLeft;
        QString text;
    };
    struct Hosted {
        QPointer<QWidget> control; // null once the control is deleted
        int panel;
    };
    void layoutHosted();
    int shownWidth(int index) const;
    int textRoom(const QString &text) const;

    QVector<Panel> m_panels;
    QVector<Hosted> m_hosted;
};

} // namespace wharf
