#pragma once

namespace examora {

// Registers the exam windows with the session controller (see flow/ExamWindows.h), and the
// knowledge exam window too where its code is linked in.
void RegisterExamWindows();

}  // namespace examora
