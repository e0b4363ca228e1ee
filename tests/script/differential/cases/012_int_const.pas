const
  Base = 1000;
  Offset = -7;
  Big = 2000000000;
  Hex = $FF;
var i: Integer;
begin
  Print('Base='); PrintLn(Base);
  Print('Base+Offset='); PrintLn(Base + Offset);
  Print('Big='); PrintLn(Big);
  Print('Hex='); PrintLn(Hex);
  i := Big;
  i := i + Big;
  Print('Big+Big wrapped='); PrintLn(i);
  i := Base * Offset;
  Print('Base*Offset='); PrintLn(i);
end.
