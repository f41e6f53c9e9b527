// Loomwright's form hosted on a user-interface thread of this process, with
// the program's message loop, for the Wine tests and benchmarks that drive
// it from their own thread (through control messages, which cross threads,
// and call(), which runs a function on the form's thread).
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "composer/loomwright.h"
#include "composer/vexa_form.h"
#include "win32/win32_desktop.h"
#include "win32/win32_program.h"

namespace loomwright {

class ComposerThread {
public:
    // `programDir`: the folder the composer takes as its own (the program's
    // folder when empty).
    explicit ComposerThread(const std::string& programDir = {}) {
        std::promise<void> ready;
        thread_ = std::thread([this, &ready, programDir] {
            try {
                InitProgram();
                desktop_ = taskloom::MakeWin32Desktop();
                form_ = std::make_unique<VexaForm>(
                    *desktop_, programDir.empty() ? taskloom::ProgramFolder() : programDir);
                WNDCLASSA wc{};
                wc.lpfnWndProc = CallProc;
                wc.hInstance = GetModuleHandleA(nullptr);
                wc.lpszClassName = "ComposerThreadCalls";
                RegisterClassA(&wc);
                calls_ = CreateWindowA("ComposerThreadCalls", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
                form_->show(SW_SHOWNORMAL);
                hwnd_ = form_->hwnd();
                // What the form posted to itself at start-up runs first, as
                // in the program's own loop, before a test asks anything.
                MSG posted;
                while (PeekMessageA(&posted, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&posted);
                    DispatchMessageA(&posted);
                }
                ready.set_value();
            } catch (...) {
                ready.set_exception(std::current_exception());
                return;
            }
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                if (!form_->hwnd() || !form_->translate(msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
            form_.reset();
            DestroyWindow(calls_);
        });
        ready.get_future().get();
    }
    ~ComposerThread() {
        // Destroyed directly: the close box would ask about unsaved lines.
        if (IsWindow(hwnd_)) call([this] { DestroyWindow(hwnd_); });
        thread_.join();
    }
    ComposerThread(const ComposerThread&) = delete;
    ComposerThread& operator=(const ComposerThread&) = delete;

    // Runs `f` on the form's thread and waits for it; what it throws is
    // thrown here.
    void call(const std::function<void()>& f) {
        std::exception_ptr failure;
        std::function<void()> wrapped = [&] {
            try {
                f();
            } catch (...) {
                failure = std::current_exception();
            }
        };
        SendMessageA(calls_, kCallMessage, 0, reinterpret_cast<LPARAM>(&wrapped));
        if (failure) std::rethrow_exception(failure);
    }

    HWND form() const { return hwnd_; }
    // Touch only from call().
    VexaForm& object() { return *form_; }

private:
    static constexpr UINT kCallMessage = WM_APP + 1;
    static LRESULT CALLBACK CallProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == kCallMessage) {
            (*reinterpret_cast<std::function<void()>*>(lp))();
            return 0;
        }
        return DefWindowProcA(h, msg, wp, lp);
    }

    std::unique_ptr<taskloom::Desktop> desktop_;
    std::unique_ptr<VexaForm> form_;
    HWND hwnd_ = nullptr;
    HWND calls_ = nullptr;
    std::thread thread_;
};

}  // namespace loomwright
