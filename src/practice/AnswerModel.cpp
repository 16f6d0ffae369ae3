#include "AnswerModel.h"

namespace practice {

std::optional<AnswerKind> TypeToAnswerKind(int typeId) {
    switch (typeId) {
        case kTypeSingleChoice:
            return AnswerKind::SingleChoice;
        case kTypeMultipleChoice:
            return AnswerKind::MultipleChoice;
        case kTypeFillIn:
            return AnswerKind::FillIn;
        case kTypeCaseAnalysis:
            return AnswerKind::SelfAssessed;
        case kTypeTrueFalse:
            return AnswerKind::TrueFalse;
        case kTypeIndefiniteChoice:
            return AnswerKind::Matching;
        default:
            return std::nullopt;
    }
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
