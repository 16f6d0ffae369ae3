#include "AnswerModel.h"

namespace practice {

std::optional<AnswerKind> TypeToAnswerKind(int typeId) {
    for (const TypePage& p : kTypePages) {
        if (p.typeId == typeId) return p.kind;
    }
    return std::nullopt;
}

const QSet<int>& NoAnswerButtonTypes() {
    static const QSet<int> types{74, 75, 76, 77};
    return types;
}

QString CanonicalChoice(const QString& letters) {
    QString out;
    for (QChar c = u'A'; c <= u'F'; c = QChar(c.unicode() + 1)) {
        if (letters.contains(c)) out += c;
    }
    return out;
}

int OptionNumber(QChar letter) {
    return letter >= u'A' && letter <= u'F' ? letter.unicode() - u'A' + 1 : 0;
}

}  // namespace practice
