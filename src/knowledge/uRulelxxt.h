// The knowledge-point practice window: every question linked to one knowledge
// point, practised on the chapter practice window with a few differences (no
// editing, no explanation, three buttons to a row, "本题作废", "题还没做呢！").
//
// The catalogue opens it through RunPointPractice with the point's name.
#pragma once

#include "Ulxxt.h"

namespace knowledge {

class TFrmRuleLxxt : public practice::TFrmLxxt {
    Q_OBJECT
  public:
    static constexpr QSize kLargeSize{905, 585};
    static constexpr QSize kCompactSize{774, 489};
    static inline const QString kDiscardCaption = QStringLiteral("本题作废");

    explicit TFrmRuleLxxt(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmRuleLxxt() override;
};

// The window while it exists.
inline TFrmRuleLxxt* FrmRuleLxxt = nullptr;

// Practises the set in qb::PracticeSql: the window is made with an empty caption
// and loaded; when the set has questions, beforeShow runs (the opener hides), the
// hint board title becomes the point's name and the window is shown modally. The
// window is freed in every case.
practice::PracticeRun RunPointPractice(store::TDM1& dm, const QString& pointName,
                                       const std::function<void()>& beforeShow);

}  // namespace knowledge
