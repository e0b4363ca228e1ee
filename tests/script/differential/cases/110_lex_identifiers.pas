var __var0, __var1: Float;
  U1_1, _x, a1b2c3: Integer;
  LongIdentifierNameWithManyCharacters: string;
begin
  __var0 := 1.5;
  __var1 := __var0 * 2;
  U1_1 := 11;
  _x := -1;
  a1b2c3 := U1_1 + _x;
  LongIdentifierNameWithManyCharacters := 'long';
  PrintLn(__var0);
  PrintLn(__var1);
  PrintLn(a1b2c3);
  PrintLn(LongIdentifierNameWithManyCharacters);
end.
