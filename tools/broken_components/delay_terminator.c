/* The descriptors of delay-loaded DLLs form a table that ends with one of all zeros. The
   import libraries made by dlltool place each descriptor in .text$2 and end the table with
   nothing; this block lands right after them, since the linker orders .text$ sections by name. */
__attribute__((section(".text$2zz"), aligned(4), used)) static const char delay_table_end[32] = {0};
