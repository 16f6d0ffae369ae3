#include "Notes.h"

#include "Dataset.h"
#include "Globals.h"

namespace aids {
namespace {

const QString kIdColumn = QStringLiteral("A1");

}  // namespace

bool NoteHasContent(const QString& text) {
    return !text.trimmed().isEmpty();
}

QString NoteButtonCaption(bool noteFilled) {
    return noteFilled ? QStringLiteral("有内容") : QStringLiteral("笔记");
}

bool NoteBinding::Bind(store::Dataset& dataset, const QString& column) {
    dataset_ = nullptr;
    try {
        if (!dataset.isActive() || dataset.isEmpty() || !dataset.hasField(column)) return false;
        dataset.edit();
    } catch (const store::EngineError&) {
        return false;
    }
    dataset_ = &dataset;
    column_ = column;
    id_ = dataset.hasField(kIdColumn) ? dataset.value(kIdColumn) : QVariant();
    return true;
}

QString NoteBinding::text() const {
    return dataset_ != nullptr ? dataset_->text(column_) : QString();
}

void NoteBinding::Save(const QString& text) {
    if (dataset_ == nullptr) {
        qb::NoteFilled = false;
        return;
    }
    if (!id_.isNull() && dataset_->value(kIdColumn) != id_ &&
        !dataset_->locate(kIdColumn, id_, Qt::CaseSensitive)) {
        throw store::EngineError(QStringLiteral("the note's question is no longer open"));
    }
    dataset_->edit();
    // Written only when changed, so that an untouched NULL note stays NULL; an
    // emptied note is stored as an empty text.
    const bool changed = dataset_->text(column_) != text;
    if (changed) dataset_->setValue(column_, text.isNull() ? QStringLiteral("") : text);
    dataset_->post();
    qb::NoteFilled = NoteHasContent(text);
    if (changed && !id_.isNull())
        dataset_->connection()->textsChanged({{id_.toString()}, {}, {}, false});
}

}  // namespace aids
