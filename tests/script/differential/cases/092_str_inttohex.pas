const MaxInt = 2147483647;
begin
  PrintLn(IntToHex(255, 4));
  PrintLn(IntToHex(255, 1));
  PrintLn(IntToHex(255, 2));
  PrintLn(IntToHex(0, 0));
  PrintLn(IntToHex(0, 4));
  PrintLn(IntToHex(26, 4));
  PrintLn(IntToHex(-1, 8));
  PrintLn(IntToHex(MaxInt, 8));
  PrintLn(IntToHex(4096, 0));
  PrintLn(IntToHex(48879, 6));
end.
