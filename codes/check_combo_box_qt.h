#pragma once

#include <QColor>
#include <QFrame>
#include <QStringList>

#include "codes/check_list_selection.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

namespace corvane {

enum class TCHBQuoteStyle { qsNone, qsSingle, qsDouble };

// A combo box whose text sums up the ticked items of a drop-down check list; the code list's set
// filter. With CheckAllOnFirst its first item stands for "all".
class TCheckComboBoxQT : public QFrame {
    Q_OBJECT

public:
    explicit TCheckComboBoxQT(QWidget* parent = nullptr);
    ~TCheckComboBoxQT() override;

    void setItems(const QStringList& items);
    QStringList items() const;
    void setDropDownLines(int lines);  // 3 to 10; other values are ignored
    int dropDownLines() const { return dropDownLines_; }
    void setColumns(int columns);
    void setCheckAllOnFirst(bool on);
    void setCapSelectAll(const QString& caption) { capSelectAll_ = caption; }
    void setCapDeSelectAll(const QString& caption) { capDeSelectAll_ = caption; }
    void setNotFocusColor(QColor color);
    void setQuoteStyle(TCHBQuoteStyle style) { quoteStyle_ = style; }
    void setSorted(bool sorted);

    bool checked(int index) const { return selection_.checked(index); }
    void setChecked(int index, bool on);
    int checkedCount() const { return selection_.checkedCount(); }
    QString text() const;

    // Opens the list as a click on the control does; exposed for the keyboard and for tests.
    void dropDown();
    bool droppedDown() const;
    // The user's tick of an item, as a click in the list gives it.
    void toggleItem(int index);

Q_SIGNALS:
    void changed();
    void clicked();
    // The keyboard came to the control, or left it; the drop-down list counts as the control.
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showSummary();
    void reportChange();
    void syncList();
    void placePopup();
    int itemHeight() const;
    void applyEditColour(bool focused);
    void focusMoved(const QWidget* now);

    CheckListSelection selection_;
    QLineEdit* edit_ = nullptr;
    QToolButton* button_ = nullptr;
    QFrame* popup_ = nullptr;
    QListWidget* list_ = nullptr;
    int dropDownLines_ = 3;
    int columns_ = 0;
    bool sorted_ = false;
    QString capSelectAll_ = tr("&Select All");
    QString capDeSelectAll_ = tr("&DeSelect All");
    QColor notFocusColor_ = Qt::white;
    TCHBQuoteStyle quoteStyle_ = TCHBQuoteStyle::qsNone;
    bool closedByButton_ = false;
    bool tickedByClick_ = false;  // the click now ending ticked its item by its small box
    bool focusWithin_ = false;
    QMetaObject::Connection focusWatch_;
};

}  // namespace corvane
