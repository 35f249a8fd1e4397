#pragma once

// The postal-code rule as the windows' boxes apply it. Apart from the rule
// itself because QValidator is Qt's graphics library, which yubin-cli does
// not load.

#include "foundation/postal_code.h"

#include <QValidator>

namespace yubin {

// A postal-code box's rule for typing and pasting alike: a text that cannot
// become a code is refused; blanks around a pasted code are dropped, and
// where a hyphen is allowed a code written as people write it is read by
// text::readPostalCode.
class PostalCodeValidator : public QValidator {
    Q_OBJECT
public:
    PostalCodeValidator(HyphenRule hyphen, QObject* parent) : QValidator(parent), rule(hyphen) {}
    State validate(QString& input, int& pos) const override;

private:
    HyphenRule rule;
};

} // namespace yubin
