#pragma once

// Named like a window so that it is built with the windows: it is the text-box behaviour the
// profile editor, the entry dialog and the Options dialog share.

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

namespace kestrelon {

// The typing rules of a dialog's text boxes, as one event filter owned by the dialog:
// - a key filter discards typed characters outside a box's allowed set (backspace, editing
//   and control keys such as Ctrl+V always pass; pasted text is not filtered here, the
//   dialogs read such text by its leading digits);
// - a box gives up with its whole text selected;
// - a hook may run before a key reaches a box (the password box empties itself).
class TextFilter : public QObject {
  public:
    explicit TextFilter(QObject* owner);

    // Every box of the dialog: selected whole when the focus leaves it.
    void Watch(QLineEdit* box);
    // Only these characters can be typed; an empty set allows every character.
    void Allow(QLineEdit* box, QString characters);
    // Only characters the predicate accepts can be typed.
    void Allow(QLineEdit* box, std::function<bool(char32_t)> accepts);
    // Runs before a character key (backspace too) reaches the box.
    void BeforeKey(QLineEdit* box, std::function<void()> hook);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Rules {
        QLineEdit* box = nullptr;
        std::function<bool(char32_t)> accepts;
        std::function<void()> beforeKey;
    };
    Rules& RulesOf(QLineEdit* box);

    std::vector<Rules> rules_;
};

inline const QString kDigits = QStringLiteral("0123456789");

}  // namespace kestrelon
