var a, b, c: Boolean;
  parity: Boolean;
  i: Integer;
begin
  a := True; b := True; c := True;
  Print('T xor T xor T='); PrintLn(a xor b xor c);
  c := False;
  Print('T xor T xor F='); PrintLn(a xor b xor c);
  parity := False;
  for i := 1 to 7 do
    parity := parity xor (i mod 3 = 0);
  Print('parity='); PrintLn(parity);
  Print('True xor False='); PrintLn(True xor False);
end.
