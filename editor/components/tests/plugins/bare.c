/* A component plug-in that describes nothing and does nothing: the editor
   lists it with its stand-in icon and "(No description available)". */
int wfc_sample_bare_unused(void);

int wfc_sample_bare_unused(void)
{
    return 0;
}
