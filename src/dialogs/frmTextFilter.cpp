#include "dialogs/frmTextFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace kestrelon {

TextFilter::TextFilter(QObject* owner) : QObject(owner) {
    setObjectName("kestrelonTextFilter");
}

TextFilter::Rules& TextFilter::RulesOf(QLineEdit* box) {
    const auto it = std::ranges::find(rules_, box, &Rules::box);
    if (it != rules_.end()) {
        return *it;
    }
    box->installEventFilter(this);
    rules_.push_back({box, {}, {}});
    return rules_.back();
}

void TextFilter::Watch(QLineEdit* box) {
    RulesOf(box);
}

void TextFilter::Allow(QLineEdit* box, QString characters) {
    if (characters.isEmpty()) {
        RulesOf(box).accepts = nullptr;
        return;
    }
    RulesOf(box).accepts = [characters](char32_t c) {
        return characters.contains(QString::fromUcs4(&c, 1));
    };
}

void TextFilter::Allow(QLineEdit* box, std::function<bool(char32_t)> accepts) {
    RulesOf(box).accepts = std::move(accepts);
}

void TextFilter::BeforeKey(QLineEdit* box, std::function<void()> hook) {
    RulesOf(box).beforeKey = std::move(hook);
}

bool TextFilter::eventFilter(QObject* watched, QEvent* event) {
    const auto it =
        std::ranges::find(rules_, watched, [](const Rules& r) -> QObject* { return r.box; });
    if (it == rules_.end()) {
        return false;
    }
    QLineEdit* box = it->box;
    if (event->type() == QEvent::FocusOut) {
        // The box clears its selection in its own focus-out handling, which runs after this.
        QPointer<QLineEdit> later(box);
        QTimer::singleShot(0, box, [later] {
            if (later && !later->hasFocus()) {
                later->selectAll();
            }
        });
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
        key->key() == Qt::Key_Escape) {
        return false;
    }
    const std::u32string typed = text.toStdU32String();
    const bool control =
        std::ranges::all_of(typed, [](char32_t c) { return c < 0x20 || c == 0x7F; });
    if (!control && it->accepts &&
        !std::ranges::all_of(typed, [&](char32_t c) { return it->accepts(c); })) {
        return true;
    }
    if (it->beforeKey) {
        it->beforeKey();
    }
    return false;
}

}  // namespace kestrelon
