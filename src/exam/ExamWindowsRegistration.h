#pragma once

namespace examora {

// Registers the exam windows with the session controller (see flow/ExamWindows.h), and the
// page screens too where their code is already there.
void RegisterExamWindows();

}  // namespace examora
