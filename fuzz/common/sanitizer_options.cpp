// Built into every libFuzzer target: undefined behaviour stops the run like a
// crash, with its stack.
extern "C" const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}
