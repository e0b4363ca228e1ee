var x: Float;
begin
  x := 0;
  Print('Exp(0)='); PrintLn(Exp(x));
  x := 1;
  Print('Exp(1)='); PrintLn(Exp(x));
  x := -1;
  Print('Exp(-1)='); PrintLn(Exp(x));
  x := 1;
  Print('Ln(1)='); PrintLn(Ln(x));
  x := 10;
  Print('Ln(10)='); PrintLn(Ln(x));
  x := 0.5;
  Print('Ln(0.5)='); PrintLn(Ln(x));
  x := 2;
  Print('Ln(Exp(2))='); PrintLn(Ln(Exp(x)));
  x := 5;
  Print('Exp(Ln(5))='); PrintLn(Exp(Ln(x)));
  x := 700;
  Print('Exp(700)='); PrintLn(Exp(x));
  x := -700;
  Print('Exp(-700)='); PrintLn(Exp(x));
end.
