#pragma once

#include <windows.h>

#include <string>

// A view whose controls are the items of a dialog window, as the dialog's template made
// them; the dialog names its window and adds warn().
template <class View>
class DialogItems : public View {
  protected:
    virtual HWND itemsWindow() const = 0;

    std::string text(int id) override {
        HWND control = GetDlgItem(itemsWindow(), id);
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    void setText(int id, const std::string& text) override {
        SetDlgItemTextA(itemsWindow(), id, text.c_str());
    }
    int checkState(int id) override {
        return IsDlgButtonChecked(itemsWindow(), id) == BST_CHECKED ? 1 : 0;
    }
    void setCheckState(int id, int state) override {
        CheckDlgButton(itemsWindow(), id, static_cast<UINT>(state));
    }
    void enable(int id, bool enabled) override {
        EnableWindow(GetDlgItem(itemsWindow(), id), enabled);
    }
    void focus(int id) override {
        SendMessageA(itemsWindow(), WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(itemsWindow(), id)), TRUE);
    }
};
