// An executable that carries the program's own resources (qv_app_resources) and nothing else,
// so app_resources_tests can read them the way Windows does without linking them itself.
int main() {
    return 0;
}
