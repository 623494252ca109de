// Which of the two programs is running: the front desk or the back office. Where they differ
// (the single-instance messages, the login, the log texts) the shared helpers take it.
#pragma once

namespace sorrel {

enum class Program { FrontDesk, BackOffice };

} // namespace sorrel
