/* Loads the installed driver through the ABI header's function types and asks it the text of a
 * result code. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>
#include <tlosses/abi.h>
#include <tlosses/version.h>

int main(void) {
    static const char* const names[] = {"InitDriver",
                                        "DeInitDriver",
                                        "GetFunctionName",
                                        "GetDBAccessNecessity",
                                        "ShowSpecificDataDialog",
                                        "ShowSpecificDataDialogEx",
                                        "StartAction",
                                        "StopAction",
                                        "GetStartActionDecodeResult",
                                        "GetStopActionDecodeResult"};
    void* driver = dlopen(TLOSSES_DRIVER, RTLD_NOW | RTLD_LOCAL);
    if (driver == NULL) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    int found = 0;
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        found += dlsym(driver, names[i]) != NULL;
    }
    TlDecodeResultFn decode;
    void* symbol = dlsym(driver, "GetStartActionDecodeResult");
    memcpy(&decode, &symbol, sizeof decode);
    /* "Успешный расчёт" in Windows-1251: one byte a letter. */
    const char* text = decode != NULL ? decode(0) : NULL;
    printf("tlosses %s, driver %s: %d exports, result 0 reads %zu bytes\n", TLOSSES_VERSION, TLOSSES_DRIVER,
           found, text != NULL ? strlen(text) : 0);
    return found == 10 && text != NULL ? 0 : 1;
}
