// The program a guide snippet without a main() of its own is linked into:
// linking, not only compiling, makes every toolkit function the snippet
// calls resolve against the library.
int main()
{
    return 0;
}
