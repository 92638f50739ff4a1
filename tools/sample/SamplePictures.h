#pragma once

#include <QImage>
#include <QString>

// The pictures of the sample installation, drawn in code so that the sample needs no binary
// assets. Everything is deterministic: the same fonts give the same pixels on every run.
namespace examora::sample {

// A plain picture for tests: a colour gradient with a frame and a diagonal, so that a decoded
// picture is easy to tell from an empty one. Pure white at no pixel.
QImage TestPattern(int width, int height);

QImage DrawScreenBackground(int width, int height);  // bg.jpg
QImage DrawTitleBand(int width, int height);         // bg_main_top.jpg
QImage DrawBottomBand(int width, int height);        // bg_main_bottom.jpg

// The step indicator (683 x 59) of a two-part installation with steps 01 to 10, step
// `current` highlighted; afterPractice marks the exam-start step as the one after the practice.
QImage DrawStepStrip(int current, bool afterPractice);

// Title bands of the exam windows: a dark band with a light sheen.
QImage DrawExamTitleBand(int width, int height, QRgb dark, QRgb light);

// Frame of the exam time area on the candidate information screen.
QImage DrawTimeFrame(int width, int height);

// Cover pictures on white (white is drawn transparent by the screens).
QImage DrawMakerLogo();  // 438 x 34
QImage DrawExamName();   // 878 x 40
QImage DrawGradeInfo();  // 200 x 40
QImage DrawGradeTop();   // 200 x 60

// The operation explanation pictures: a mock-up of the knowledge window with its answer sheet,
// and of the compact practical window over the candidate's desktop.
QImage DrawKnowledgeExplanation();
QImage DrawPracticalExplanation();

// Finished-sample page n (1 to 3) of the practical task: the web site as it should look.
QImage DrawFinishedSamplePage(int page);

// Material photos of the practical task ("shop" or "coffee").
QImage DrawMaterialPhoto(const QString& kind);

// The site logo the candidate places on the pages.
QImage DrawSiteLogo();

}  // namespace examora::sample
