// The program of the link checks: a layer's archive is linked whole into it
// together with the layers below, so a call into a layer above fails the link.
int main()
{
    return 0;
}
