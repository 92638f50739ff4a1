#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace examora {

// One line per question of the answer status list (BuildAnswerStatusList, step 4).
// subQuestionCounts: one entry per question; answers: sub-question answers in running order,
// answers[0] = sub-question 1 ("" or "1".."5"; anything else counts as unanswered).
QStringList AnswerStatusLines(const QList<int>& subQuestionCounts, const QStringList& answers,
                              bool subQuestionsOnly);

}  // namespace examora
