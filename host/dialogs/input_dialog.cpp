#include "dialogs/input_dialog.h"

#include <cstdlib>

#include "base/globals.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"

INT_PTR CALLBACK InputDialogFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            s_inputInitParam* request = reinterpret_cast<s_inputInitParam*>(lParam);
            SetWindowTextA(hwnd, Priv(request->iCaption, "STRING", ini));
            SetDlgItemTextA(hwnd, IDINPUTPROMPT, Priv(request->iTitle, "STRING", ini));
            HWND edit = GetDlgItem(hwnd, IDINPUTTEXT);
            if (request->yInt) {
                SetWindowLongA(edit, GWL_STYLE, GetWindowLongA(edit, GWL_STYLE) | ES_NUMBER | ES_CENTER);
            }
            if (request->inText) SetWindowTextA(edit, request->inText);
            free(request->inText);
            free(request);
            SendMessageA(edit, EM_SETSEL, 0, -1);
            SetFocus(edit);
            return FALSE;  // the focus was set here
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                char* text = GetItemChar(hwnd, IDINPUTTEXT);
                if (!text) text = _strdup("");
                EndDialog(hwnd, reinterpret_cast<INT_PTR>(text));
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(hwnd, 0);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(hwnd, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

char* RunInputDialog(s_inputInitParam* request) {
    if (!request) return nullptr;
    INT_PTR result = DialogBoxParamA(hInS, MAKEINTRESOURCEA(IDD_INPUT), request->hwnd, InputDialogFunc,
                                     reinterpret_cast<LPARAM>(request));
    if (result == -1) {
        // The dialog never opened, so the request is still ours to release.
        free(request->inText);
        free(request);
        return nullptr;
    }
    return reinterpret_cast<char*>(result);
}

char* InputDialog(HWND owner, int captionText, int promptText, const char* initial, bool digitsOnly) {
    s_inputInitParam* request = static_cast<s_inputInitParam*>(calloc(1, sizeof(s_inputInitParam)));
    if (!request) return nullptr;
    request->hwnd = owner;
    request->iCaption = captionText;
    request->iTitle = promptText;
    request->inText = initial ? _strdup(initial) : nullptr;
    request->yInt = digitsOnly ? 1 : 0;
    return RunInputDialog(request);
}
