#include "platform/WindowHook.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace kanaroll::hook {

namespace {

struct Layer {
    Procedure procedure;
    void* data;
};

struct Chain {
    HWND window;
    WNDPROC original;
    std::vector<Layer> layers;  // the first installed first; called from the back
    int running = 0;
    bool destroyed = false;
};

// A call in progress: the chain and how many of its layers are still below the one running.
struct Frame {
    Chain* chain;
    std::size_t below;
    Frame* outer;
};

// A handful of hooked controls per window: a scan is cheaper than any map.
thread_local std::vector<std::unique_ptr<Chain>> chains;
thread_local Frame* running = nullptr;

Chain* ChainOf(HWND window) {
    for (const auto& chain : chains) {
        if (chain->window == window) return chain.get();
    }
    return nullptr;
}

Layer* LayerOf(Chain& chain, Procedure procedure) {
    const auto layer = std::find_if(chain.layers.begin(), chain.layers.end(),
                                    [procedure](const Layer& entry) { return entry.procedure == procedure; });
    return layer == chain.layers.end() ? nullptr : &*layer;
}

LRESULT Dispatch(Chain& chain, std::size_t layers, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (layers == 0) return CallWindowProcW(chain.original, window, message, wParam, lParam);
    const Layer layer = chain.layers[layers - 1];  // a copy: a procedure may install another layer
    Frame frame{&chain, layers - 1, running};
    running = &frame;
    struct Pop {
        Frame* outer;
        ~Pop() { running = outer; }
    } pop{frame.outer};
    return layer.procedure(window, message, wParam, lParam, layer.data);
}

LRESULT CALLBACK ChainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Chain* chain = ChainOf(window);
    if (!chain) return DefWindowProcW(window, message, wParam, lParam);
    ++chain->running;
    if (message == WM_NCDESTROY) chain->destroyed = true;
    // Dropped after the window's last message, when no call of it is still on the stack: the handle
    // may come back for another window.
    struct Leave {
        Chain* chain;
        ~Leave() {
            if (--chain->running == 0 && chain->destroyed) {
                std::erase_if(chains, [this](const auto& entry) { return entry.get() == chain; });
            }
        }
    } leave{chain};
    return Dispatch(*chain, chain->layers.size(), window, message, wParam, lParam);
}

}  // namespace

bool Install(HWND window, Procedure procedure, void* data) {
    if (Chain* chain = ChainOf(window)) {
        if (Layer* layer = LayerOf(*chain, procedure)) {
            layer->data = data;
        } else {
            chain->layers.push_back({procedure, data});
        }
        return true;
    }
    auto chain = std::make_unique<Chain>(Chain{window, nullptr, {{procedure, data}}});
    chains.push_back(std::move(chain));
    SetLastError(0);
    const auto original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProcedure)));
    if (!original && GetLastError() != 0) {
        chains.pop_back();
        return false;
    }
    chains.back()->original = original;
    return true;
}

void* Find(HWND window, Procedure procedure) {
    Chain* chain = ChainOf(window);
    Layer* layer = chain ? LayerOf(*chain, procedure) : nullptr;
    return layer ? layer->data : nullptr;
}

LRESULT CallNext(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (running && running->chain->window == window) {
        return Dispatch(*running->chain, running->below, window, message, wParam, lParam);
    }
    // Not called from a hook procedure of this window: straight to the control.
    if (const Chain* chain = ChainOf(window))
        return CallWindowProcW(chain->original, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kanaroll::hook
