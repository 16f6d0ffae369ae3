#include "QuestionPoints.h"

#include "DataModule.h"

namespace knowledge {
namespace {

const char* const kSlots[] = {"k3", "k4", "k5", "k6", "k7", "k8", "k9", "k10", "k11", "k12"};

}  // namespace

QuestionPoints::QuestionPoints(store::TDM1& dm) : ADOQuery1(&dm.ADOCn1), ADOQuery2(&dm.ADOCn1) {}

bool QuestionPoints::LoadQuestionPoints(const QString& questionId) {
    m_listbox.clear();
    ADOQuery1.setSql(
        QStringLiteral("select k3,k4,k5,k6,k7,k8,k9,k10,k11,k12 from tab_answ where a1=:A1"));
    ADOQuery1.setParam(QStringLiteral("A1"), questionId);
    ADOQuery1.open();
    if (ADOQuery1.isEmpty()) {
        ADOQuery1.close();
        return false;
    }
    for (const char* slot : kSlots) {
        const QString id = ADOQuery1.text(QLatin1String(slot));
        if (!id.isEmpty()) m_listbox << id;
    }
    ADOQuery1.close();
    return !m_listbox.isEmpty();
}

void QuestionPoints::Open() {
    names_.clear();
    chapterName_.clear();
    current_ = -1;
    // An empty id set names nothing; the engine need not be asked.
    ADOQuery1.setSql(m_listbox.isEmpty()
                         ? QStringLiteral("select id,n,sn from tab_rule where 1=0")
                         : QStringLiteral("select id,n,sn from tab_rule where ftid in") +
                               store::quotedList(m_listbox));
    ADOQuery1.open();
    if (ADOQuery1.isEmpty()) return;
    ADOQuery1.first();
    const QString chapterId = ADOQuery1.text(QStringLiteral("id"));
    while (!ADOQuery1.eof()) {
        names_ << ADOQuery1.text(QStringLiteral("sn"));
        ADOQuery1.next();
    }
    chapterName_ = chapterNameOf(chapterId);
    ADOQuery1.first();
    current_ = 0;
}

QByteArray QuestionPoints::text() {
    if (current_ < 0 || !ADOQuery1.isActive()) return {};
    return ADOQuery1.value(QStringLiteral("n")).toByteArray();
}

void QuestionPoints::Select(int index) {
    if (!ADOQuery1.isActive() || index < 0 || index >= names_.size()) return;
    ADOQuery1.setRecNo(index + 1);
    current_ = index;
    // The clicked point's own chapter: short names repeat across chapters.
    chapterName_ = chapterNameOf(ADOQuery1.text(QStringLiteral("id")));
}

QString QuestionPoints::chapterNameOf(const QString& chapterId) {
    ADOQuery2.setSql(QStringLiteral("select * from tab_fgmc where id=:ID"));
    ADOQuery2.setParam(QStringLiteral("ID"), chapterId);
    ADOQuery2.open();
    QString name = ADOQuery2.isEmpty() ? QString() : ADOQuery2.text(QStringLiteral("n"));
    ADOQuery2.close();
    return name;
}

}  // namespace knowledge
