#include "foundation/postal_code_validator.h"

#include "foundation/text.h"

#include <algorithm>

namespace yubin {

QValidator::State PostalCodeValidator::validate(QString& input, int& pos) const {
    const QStringView inner = text::trimBlanks(input);
    if (inner.size() != input.size()) {
        // Only a text with blanks at its ends is rewritten, so the caret
        // and the selection of an ordinary edit stay where they are.
        const int leading = int(inner.data() - input.constData());
        pos = std::clamp(pos - leading, 0, int(inner.size()));
        input = inner.toString();
    }
    // In a box that takes a code as people write it, a code pasted whole
    // (〒100ー0013, １００－００１３) becomes the box's own form, and full-width
    // digits and hyphen-like signs are read as they are meant. A box without
    // the hyphen is a digits-only field and stays one.
    if (rule == HyphenRule::AfterThirdDigit &&
        judgePostalCode(input, rule) == PostalCodeText::NotACode) {
        if (const std::optional<QString> code = text::readPostalCode(input)) {
            input = input.contains(*code) ? *code : code->left(3) + u'-' + code->sliced(3);
            pos = int(input.size());
        } else {
            input = text::withPlainHyphens(text::toHalfWidthAscii(input));
        }
    }
    switch (judgePostalCode(input, rule)) {
    case PostalCodeText::Complete:
        return Acceptable;
    case PostalCodeText::Short:
        return Intermediate;
    case PostalCodeText::NotACode:
    case PostalCodeText::Long:
        break;
    }
    return Invalid;
}

} // namespace yubin
