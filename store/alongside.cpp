#include "store/alongside.h"

#include <exception>
#include <system_error>
#include <thread>

void alongside(const std::function<void()>& here, const std::function<void()>& there)
{
    std::exception_ptr failed;
    std::thread other;
    try {
        other = std::thread([&] {
            try {
                there();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        here();
        there();
        return;
    }
    try {
        here();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failed) std::rethrow_exception(failed);
}
