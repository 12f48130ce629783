/* Puts the build-id section, which holds the debug directory, between the
   resource section and the relocations, so that a resource update has to
   move a section, the debug directory and the debug data behind it. */
SECTIONS
{
  .buildid BLOCK(__section_alignment__) : { *(.buildid*) }
}
INSERT BEFORE .reloc;
